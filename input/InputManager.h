// InputManager: the keyboard as the engine's key numbering (DirectInput scan codes) sees it.
// Key events from the event pump keep the keys held now; the frame loop's poll takes a snapshot
// of them once a frame, and the frame's key queries read that snapshot.
#pragma once
#include <cstdint>

namespace tarvoke {

class InputManager {
public:
    InputManager() = default;
    virtual ~InputManager() = default;
    InputManager(const InputManager&) = delete;
    InputManager& operator=(const InputManager&) = delete;

    std::uint8_t keyState[256]{};   // the frame's snapshot: bit 7 of byte n is set while key n is down
    std::uint8_t keysHeld[256]{};   // the same, kept current by the key events

    void pollKeyboard();            // keyState becomes keysHeld
    bool isKeyDown(int keyCode) const { return (keyState[keyCode & 0xFF] & 0x80) != 0; }
};

extern InputManager* inputManager;  // null before start-up and after shutdown

} // namespace tarvoke
