// InputManager: keyboard, mouse and joysticks as the engine's commands read them. The pump's
// events keep the keys, buttons and pointer current; the frame's poll fixes what this frame
// reads (a key tapped since the last poll reads down all frame; the mouse moves once a frame);
// joysticks are read on demand. Key codes are DirectInput scan codes.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include "platform/Events.h"
#include "platform/Joysticks.h"

namespace tarvoke {

constexpr int keyCodeCount = 256;
constexpr int keyLeftShift = 42, keyRightShift = 54;
constexpr int maxJoysticks = 10;
constexpr std::uint32_t hatCentred = 0xFFFFFFFF;

// The mouse as one read sees it; buttons are 1 while down.
struct MouseState {
    std::int16_t left = 0, right = 0, middle = 0;
    std::int16_t dx = 0, dy = 0;   // movement in this frame
    std::int16_t wheel = 0;        // -1, 0 or 1
};

// One joystick read: axes -32768..32768, hats in hundredths of a degree clockwise from up
// (hatCentred when centred), buttons 0x80 while down.
struct JoystickState {
    std::int32_t x = 0, y = 0, z = 0;
    std::int32_t rotationX = 0, rotationY = 0, rotationZ = 0;
    std::int32_t sliders[2] = {};
    std::uint32_t hats[4] = {hatCentred, hatCentred, hatCentred, hatCentred};
    std::uint8_t buttons[32] = {};
};

struct JoystickCloser {
    void operator()(platform::Joystick* joystick) const { platform::closeJoystick(joystick); }
};
using JoystickDevice = std::unique_ptr<platform::Joystick, JoystickCloser>;

class InputManager {
public:
    InputManager() = default;
    virtual ~InputManager() = default;
    InputManager(const InputManager&) = delete;
    InputManager& operator=(const InputManager&) = delete;

    // ---- keyboard
    bool keysHeld[keyCodeCount]{};          // down now, as far as the events tell
    bool pressedSincePoll[keyCodeCount]{};  // went down since the frame's last poll
    bool tapped[keyCodeCount]{};            // went down and up between the last two polls
    bool downAtPoll[keyCodeCount]{};        // down, or tapped, at the frame's last poll
    // ---- typed characters: one entry a key press, oldest first
    static constexpr int pressQueueSize = 64;  // a full queue drops its oldest press
    struct TypedPress {
        std::uint8_t keyCode = 0;
        std::uint8_t typed = 0;               // what the press typed on the layout (Windows-1252); 0 none
        std::uint32_t poll = 0;               // the frame polls there had been when it came
    };
    std::array<TypedPress, pressQueueSize> presses{};
    int firstPress = 0, pressCount = 0;
    bool awaitingText = false;              // the newest press's text event has not come yet
    std::uint32_t pollCount = 0;            // frame polls so far
    bool charactersRead = false;            // typedChar ran since the last frame poll
    // ---- mouse
    std::int32_t mouseX = 100, mouseY = 100;  // the engine's position in client pixels
    int pointerX = 100, pointerY = 100;       // where the system pointer is, in client pixels
    int motionX = 0, motionY = 0;             // relative motion since the last fresh read
    int wheelSteps = 0;                       // wheel steps since the last fresh read
    unsigned buttonsHeld = 0;                 // bit 0 left, 1 right, 2 middle
    unsigned buttonsPressedSincePoll = 0;
    unsigned buttonsTapped = 0;
    bool pointerShown = false;                // the system pointer is shown and followed
    bool pointerHeld = false;                 // hidden and held: only relative motion counts
    bool freshFrame = true;                   // the next mouse read takes this frame's movement
    std::int16_t lastDX = 0, lastDY = 0, lastWheel = 0;
    std::uint64_t lastEventTake = 0;          // counter value when the events were last taken
    // ---- joysticks
    std::array<JoystickDevice, maxJoysticks> joystickDevices;
    std::array<std::string, maxJoysticks> joystickNames;  // "instance, product"
    int joystickCount = 0;
    bool joysticksStarted = false;

    void handleEvent(const platform::Event& event);
    void pollForFrame();       // takes the events, fixes the frame's taps, sets freshFrame
    void poll();               // takes the events when the last take is over a millisecond old
    bool isKeyDown(int keyCode) const { return keysHeld[keyCode & 0xFF] || tapped[keyCode & 0xFF]; }
    // The oldest press not handed out yet; false when none is left.
    bool takePress(TypedPress& press);
    unsigned buttonsDown() const { return buttonsHeld | buttonsTapped; }

private:
    void press(int keyCode);
    void forgetStalePresses();
    std::uint8_t typedByte(char text) const;
    void takeEvents();
};

extern InputManager* inputManager;  // null before start-up and after shutdown

// ---- the operations the commands share
MouseState readMouse();                   // zero without InputManager
void clampMousePosition();                // mouseX, mouseY onto the screen
JoystickState readJoystick(int index);    // zero, hats centred, for no joystick
void openJoysticks(InputManager& input);  // the devices attached now, at most 10
int typedChar();                          // the character of a key press not yet handed out; 0 none
bool keyTyped();                          // typedChar() != 0
void showPointer(InputManager& input, bool show);
void waitForInputChange();                // returns on input, or after 15 passes of 5 ms

} // namespace tarvoke
