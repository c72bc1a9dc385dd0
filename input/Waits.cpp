// The waits and the text entry. Every wait pumps messages (so closing the window ends the
// program), keeps looped music going and ends on the ending keys, as showScreen does.
#include <cmath>
#include "core/MessagePump.h"
#include "graphics2d/Graphics2D.h"
#include "input/Input.h"
#include "input/InputManager.h"
#include "platform/Clock.h"
#include "sound/Sound.h"
#include "tarvoke/core.h"
#include "tarvoke/graphics2d.h"
#include "tarvoke/input.h"

namespace tarvoke {
namespace {

constexpr int changePasses = 15;
constexpr int passSleepMs = 5;
constexpr double stickThreshold = 0.1;
constexpr int cursorBlinkFrames = 20;

// With no event pump nothing could ever end a wait.
bool canWait() { return inputManager && platform::hasEventPump(); }

struct MouseSnapshot {
    NumValue x = 0, y = 0, left = 0, right = 0;
    bool operator!=(const MouseSnapshot& o) const { return x != o.x || y != o.y || left != o.left || right != o.right; }
};

MouseSnapshot snapMouse() {
    MouseSnapshot mouse;
    mouseState(mouse.x, mouse.y, mouse.left, mouse.right);
    return mouse;
}

bool anyKeyDown() {
    for (int code = 0; code < keyCodeCount - 1; ++code)
        if (inputManager->isKeyDown(code)) return true;
    return false;
}

bool joystickMoved(int index) {
    const JoystickState state = readJoystick(index);
    for (std::uint8_t button : state.buttons)
        if (button) return true;
    for (std::int32_t axis : {state.x, state.y, state.z})
        if (std::fabs(axis / 32767.0) > stickThreshold) return true;
    return (state.hats[0] & 0xFFFF) != 0xFFFF;
}

bool anyMouseButtonDown() {
    const MouseState mouse = readMouse();
    return mouse.left || mouse.right || mouse.middle;
}

} // namespace

void waitForInputChange() {
    if (!canWait()) return;
    const MouseSnapshot before = snapMouse();
    for (int pass = 0; pass < changePasses; ++pass) {
        keepMusicLooping();
        pumpMessages();
        pollInputForFrame();
        endOnEndingKeys();
        if (anyKeyDown()) return;
        if (snapMouse() != before) return;
        for (int joystick = inputManager->joystickCount - 1; joystick >= 0; --joystick)
            if (joystickMoved(joystick)) return;
        platform::sleepMilliseconds(passSleepMs);
    }
}

void waitForKey() {
    if (!canWait()) return;
    while (!keyTyped()) {
        keepMusicLooping();
        pumpMessages();
        waitForInputChange();
    }
    while (keyTyped()) {
    }
}

void waitForMouseButton() {
    if (!canWait()) return;
    do {
        pollInputForFrame();
        platform::sleepMilliseconds(1);
    } while (anyMouseButtonDown());
    while (!anyMouseButtonDown()) waitForInputChange();
}

// Every character typed since the last frame is taken, so fast typing loses none.
void inputText(StrValue& text, NumValue x, NumValue y) {
    if (!canWait()) return;
    keepScreenCopy();
    drawScreenCopy();
    printText(text, x, y);
    int idleFrames = 0;
    bool cursorOn = false;
    for (;;) {
        showScreen();
        int ch = typedChar();
        if (ch == 0 && ++idleFrames > cursorBlinkFrames) {
            idleFrames = 0;
            cursorOn = !cursorOn;
        }
        for (; ch != 0; ch = typedChar()) {
            if (ch == 10) {
                dropScreenCopy();
                return;
            }
            if (ch == 8) {
                if (text.length() > 0) text.truncateAt(text.length() - 1);
            } else {
                const char typed[2] = {char(ch), 0};
                text.append(typed);
            }
        }
        drawScreenCopy();
        printText(cursorOn ? text + "_" : text, toInt(x), toInt(y));
    }
}

NumValue inputNumber(NumValue x, NumValue y) {
    StrValue text;
    inputText(text, x, y);
    return text.toNumber();
}

} // namespace tarvoke
