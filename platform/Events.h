// Platform contract, events: one pump for everything the window system reports. Window events
// go to the frame loop; key, text, mouse and joystick events to the input object.
#pragma once
#include <string>

namespace tarvoke::platform {

enum class EventType {
    CloseRequest,      // the window's close button, or the system asking the program to quit
    Activated,         // the window got the keyboard focus
    Deactivated,       // the window lost it
    KeyDown,           // keyCode, repeat
    KeyUp,             // keyCode
    Text,              // text
    MouseMotion,       // x, y, dx, dy
    MouseButtonDown,   // button, x, y
    MouseButtonUp,     // button, x, y
    MouseWheel,        // wheel
    JoystickAdded,     // device
    JoystickRemoved,   // device
};

struct Event {
    EventType type = EventType::CloseRequest;
    int keyCode = -1;      // the key's DirectInput scan code; -1 when the key has none
    bool repeat = false;   // a key-down sent by the keyboard's auto-repeat
    std::string text;      // typed characters, Windows-1252 bytes; what the code page lacks is dropped
    int x = 0, y = 0;      // the pointer in client pixels
    int dx = 0, dy = 0;    // relative pointer motion
    int button = 0;        // 1 left, 2 middle, 3 right, 4 and 5 the side buttons
    int wheel = 0;         // wheel steps, positive away from the user
    int device = 0;        // the system's id of the joystick
};

// Takes the next pending event; false when none is left.
bool pollEvent(Event& event);
// Reads what the window system has sent, then hands every pending key, text and mouse event to
// `handle` in order, leaving the window events queued for pollEvent.
void takeInputEvents(void (*handle)(const Event& event));
bool hasEventPump();                       // false before the window system is reached

// The key code of a window-system key, for tests and the key tables: -1 when it has none.
int keyCodeOfScancode(int scancode);

} // namespace tarvoke::platform
