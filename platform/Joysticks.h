// Platform contract, joysticks: the game controllers the system lists, read on demand, with the
// force-feedback side of those that have one. Axis values are the system's, -32768..32767.
#pragma once
#include <string>

namespace tarvoke::platform {

bool startJoysticks();                     // false when the system offers no joystick service
void stopJoysticks();                      // closes nothing: close every opened device first
int joystickDeviceCount();                 // devices attached now, in the system's order

struct Joystick;                           // one opened device; opaque
Joystick* openJoystick(int index);         // null when it cannot be opened
void closeJoystick(Joystick* joystick);
std::string joystickName(Joystick* joystick);

constexpr int joystickAxisCount = 8;       // X, Y, Z, rotation X, Y, Z, two sliders
constexpr int joystickButtonCount = 32;

struct JoystickReading {
    int axes[joystickAxisCount] = {};      // -32768..32767; 0 for axes the device lacks
    int hatX = 0;                          // first hat: -1 left, 0 centre, 1 right
    int hatY = 0;                          // first hat: -1 up, 0 centre, 1 down
    bool buttons[joystickButtonCount] = {};
};
// Polls the device now. False, with a zero reading, when it is gone.
bool readJoystick(Joystick* joystick, JoystickReading& reading);

// A constant force, stopping whatever the device played before. Direction components and
// level are -32767..32767 and 0..32767; the gain is full.
struct ConstantForce {
    int directionX = 0, directionY = 0;
    int level = 0;
    unsigned durationMs = 0;
};
bool hasConstantForce(Joystick* joystick);
bool playConstantForce(Joystick* joystick, const ConstantForce& force);

// For tests and for checking a game without a controller: a device that exists only in this
// process, listed and read like a real one. Returns its index in the list, or -1. Devices
// attached this way are read even while no window has the keyboard focus.
int attachVirtualJoystick(const std::string& name, int axes, int buttons, int hats);
void setVirtualJoystick(int index, const int axes[], int axisCount, int hatX, int hatY,
                        const bool buttons[], int buttonCount);
void detachVirtualJoysticks();

} // namespace tarvoke::platform
