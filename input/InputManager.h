// InputManager: the keyboard, bound to the main window. Keeps the last keyboard snapshot in the
// engine's key numbering (DirectInput scan codes), polled once per frame by the frame loop.
#pragma once
#include <cstdint>
#include "platform/Platform.h"

namespace tarvoke {

class InputManager {
public:
    InputManager() = default;
    virtual ~InputManager() = default;
    InputManager(const InputManager&) = delete;
    InputManager& operator=(const InputManager&) = delete;

    int mouseX = 100;                         // the engine's mouse position in client pixels
    int mouseY = 100;
    platform::KeyboardSnapshot keyState{};    // bit 7 of byte n: key code n is down
    platform::NativeWindow* window = nullptr; // the main window
    bool freshFrame = true;                   // set by the frame loop's poll

    void initInput(platform::NativeWindow* mainWindow);
    void pollKeyboard();
    bool isKeyDown(int keyCode) const { return (keyState[keyCode & 0xFF] & 0x80) != 0; }
    void releaseInput();
};

extern InputManager* inputManager;  // null before start-up and after shutdown

} // namespace tarvoke
