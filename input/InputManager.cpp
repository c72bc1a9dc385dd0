#include "input/InputManager.h"
#include <cstring>
#include <memory>
#include "input/Input.h"

namespace tarvoke {

InputManager* inputManager = nullptr;

namespace {

std::unique_ptr<InputManager> ownedInput;

void setKey(InputManager& input, int keyCode, bool down) {
    if (keyCode < 0 || keyCode > 255) return;
    input.keysHeld[keyCode] = down ? 0x80 : 0;
}

} // namespace

void InputManager::pollKeyboard() { std::memcpy(keyState, keysHeld, sizeof keyState); }

bool startInput() {
    if (!ownedInput) ownedInput = std::make_unique<InputManager>();
    inputManager = ownedInput.get();
    return true;
}

void stopInput() {
    inputManager = nullptr;
    ownedInput.reset();
}

void handleInputEvent(const platform::Event& event) {
    if (!inputManager) return;
    switch (event.type) {
    case platform::EventType::KeyDown: setKey(*inputManager, event.keyCode, true); break;
    case platform::EventType::KeyUp: setKey(*inputManager, event.keyCode, false); break;
    default: break;  // text, mouse and joystick input are not read yet
    }
}

void pollInputForFrame() {
    if (inputManager) inputManager->pollKeyboard();
}

bool isKeyDown(int keyCode) { return inputManager && inputManager->isKeyDown(keyCode); }

} // namespace tarvoke
