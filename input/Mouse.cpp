// The mouse: one movement per frame (the first read after the frame's poll takes it, later reads
// in the frame repeat it), the engine's own position kept on the screen, and the system pointer
// either shown and followed or hidden and held for relative motion.
#include <algorithm>
#include <cstdint>
#include "input/InputManager.h"
#include "platform/Pointer.h"
#include "tarvoke/graphics2d.h"
#include "tarvoke/input.h"

namespace tarvoke {
namespace {

std::int16_t to16(long long value) { return std::int16_t(std::clamp<long long>(value, INT16_MIN, INT16_MAX)); }
std::int32_t to32(long long value) { return std::int32_t(std::clamp<long long>(value, INT32_MIN, INT32_MAX)); }

void takeFrameMovement(InputManager& input) {
    input.freshFrame = false;
    long long dx, dy;
    if (input.pointerShown) {
        dx = (long long)input.pointerX - input.mouseX;
        dy = (long long)input.pointerY - input.mouseY;
        input.mouseX = input.pointerX;
        input.mouseY = input.pointerY;
    } else {
        dx = input.motionX;
        dy = input.motionY;
        input.mouseX = to32(input.mouseX + dx);
        input.mouseY = to32(input.mouseY + dy);
    }
    input.motionX = input.motionY = 0;
    input.lastDX = to16(dx);
    input.lastDY = to16(dy);
    input.lastWheel = std::int16_t(input.wheelSteps > 0 ? 1 : input.wheelSteps < 0 ? -1 : 0);
    input.wheelSteps = 0;
}

} // namespace

MouseState readMouse() {
    MouseState state;
    InputManager* input = inputManager;
    if (!input) return state;
    input->poll();
    if (input->freshFrame) takeFrameMovement(*input);
    state.dx = input->lastDX;
    state.dy = input->lastDY;
    state.wheel = input->lastWheel;
    const unsigned buttons = input->buttonsDown();
    state.left = (buttons & 1u) ? 1 : 0;
    state.right = (buttons & 2u) ? 1 : 0;
    state.middle = (buttons & 4u) ? 1 : 0;
    return state;
}

void clampMousePosition() {
    InputManager* input = inputManager;
    if (!input) return;
    NumValue width = 0, height = 0;
    getScreenSize(width, height);
    input->mouseX = std::max(0, std::min(input->mouseX, toInt(width) - 1));
    input->mouseY = std::max(0, std::min(input->mouseY, toInt(height) - 1));
}

void showPointer(InputManager& input, bool show) {
    if (show) {
        if (input.pointerHeld) platform::holdPointer(false);
        input.pointerHeld = false;
        platform::movePointer(input.mouseX, input.mouseY);
        input.pointerX = input.mouseX;
        input.pointerY = input.mouseY;
        platform::showArrowPointer();
    } else {
        if (!input.pointerHeld) input.pointerHeld = platform::holdPointer(true);
        platform::hidePointer();
    }
    input.pointerShown = show;
}

void mouseState(NumValue& x, NumValue& y, NumValue& left, NumValue& right) {
    const MouseState state = readMouse();
    clampMousePosition();
    x = inputManager ? inputManager->mouseX : 0;
    y = inputManager ? inputManager->mouseY : 0;
    left = state.left ? 1 : 0;
    right = state.right ? 1 : 0;
}

NumValue mouseAxis(NumValue axis) {
    const MouseState state = readMouse();
    switch (toInt(axis)) {
    case 0: return state.dx;
    case 1: return state.dy;
    case 2: return state.wheel;
    case 3: return state.left ? 1 : 0;
    case 4: return state.right ? 1 : 0;
    case 5: return state.middle ? 1 : 0;
    default: return 0;
    }
}

void systemPointer(NumValue flag) {
    if (inputManager) showPointer(*inputManager, isSet(flag));
}

void setMousePosition(NumValue x, NumValue y) {
    if (!inputManager) return;
    inputManager->mouseX = toInt(x);
    inputManager->mouseY = toInt(y);
}

} // namespace tarvoke
