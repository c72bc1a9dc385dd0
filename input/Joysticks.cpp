// Joysticks: the devices attached at start-up, read on demand into the engine's record (axes
// -32768..32768, the first hat in hundredths of a degree) and scaled for the commands.
#include <algorithm>
#include <cmath>
#include "input/InputManager.h"
#include "tarvoke/core.h"
#include "tarvoke/input.h"

namespace tarvoke {
namespace {

constexpr double axisScale = 32767.0;
constexpr double stateAxisStep = 30000.0;

// The system's -32768..32767 spread over -32768..32768, so that full deflection either way
// reads the same distance from the centre.
std::int32_t engineAxis(int value) { return value > 0 ? (value * 32768 + 16383) / 32767 : value; }

// Hundredths of a degree clockwise from up, for the eight directions and the centre.
std::uint32_t hatAngle(int x, int y) {
    constexpr std::uint32_t angles[3][3] = {
        {31500, 27000, 22500},        // left: up, centre, down
        {0, hatCentred, 18000},       // centre
        {4500, 9000, 13500}};         // right
    return angles[std::clamp(x, -1, 1) + 1][std::clamp(y, -1, 1) + 1];
}

// The hat's sideways and up-down part: each of the eight directions counts for the axes it
// leans towards (up-right is right and up).
int hatPart(std::uint32_t hat, bool sideways) {
    if ((hat & 0xFFFF) == 0xFFFF) return 0;
    const int angle = int(hat % 36000);
    if (sideways) return (angle >= 2250 && angle < 15750) ? 1 : (angle >= 20250 && angle < 33750) ? -1 : 0;
    return (angle >= 29250 || angle < 6750) ? -1 : (angle >= 11250 && angle < 24750) ? 1 : 0;
}

platform::Joystick* deviceAt(NumValue joystick) {
    const int index = toInt(joystick);
    if (!inputManager || index < 0 || index >= maxJoysticks) return nullptr;
    return inputManager->joystickDevices[std::size_t(index)].get();
}

NumValue scaledAxis(std::int32_t value) { return std::clamp(value / axisScale, -1.0, 1.0); }

} // namespace

void openJoysticks(InputManager& input) {
    if (input.joysticksStarted) return;  // opened once, at start-up
    if (!platform::startJoysticks()) {
        appendErrorLog("No DX_Input");
        return;
    }
    input.joysticksStarted = true;
    const int devices = platform::joystickDeviceCount();
    for (int index = 0; index < devices && input.joystickCount < maxJoysticks; ++index) {
        JoystickDevice device(platform::openJoystick(index));
        if (!device) continue;
        const std::string name = platform::joystickName(device.get());
        input.joystickNames[std::size_t(input.joystickCount)] = name + ", " + name;
        input.joystickDevices[std::size_t(input.joystickCount)] = std::move(device);
        ++input.joystickCount;
    }
}

JoystickState readJoystick(int index) {
    JoystickState state;
    platform::JoystickReading reading;
    if (!platform::readJoystick(deviceAt(index), reading)) return state;
    std::int32_t* axes[] = {&state.x, &state.y, &state.z, &state.rotationX, &state.rotationY,
                            &state.rotationZ, &state.sliders[0], &state.sliders[1]};
    for (int axis = 0; axis < platform::joystickAxisCount; ++axis) *axes[axis] = engineAxis(reading.axes[axis]);
    state.hats[0] = hatAngle(reading.hatX, reading.hatY);
    for (int button = 0; button < platform::joystickButtonCount; ++button)
        state.buttons[button] = reading.buttons[button] ? 0x80 : 0;
    return state;
}

NumValue joystickX(NumValue joystick) { return scaledAxis(readJoystick(toInt(joystick)).x); }
NumValue joystickY(NumValue joystick) { return scaledAxis(readJoystick(toInt(joystick)).y); }
NumValue joystickZ(NumValue joystick) { return scaledAxis(readJoystick(toInt(joystick)).z); }
NumValue joystickRX(NumValue joystick) { return scaledAxis(readJoystick(toInt(joystick)).rotationX); }
NumValue joystickRY(NumValue joystick) { return scaledAxis(readJoystick(toInt(joystick)).rotationY); }
NumValue joystickRZ(NumValue joystick) { return scaledAxis(readJoystick(toInt(joystick)).rotationZ); }

NumValue joystickHatX(NumValue joystick) { return hatPart(readJoystick(toInt(joystick)).hats[0], true); }
NumValue joystickHatY(NumValue joystick) { return hatPart(readJoystick(toInt(joystick)).hats[0], false); }

void joystickState(NumValue& x, NumValue& y, NumValue& button1, NumValue& button2) {
    const JoystickState state = readJoystick(0);
    x = std::trunc(state.x / stateAxisStep);
    y = std::trunc(state.y / stateAxisStep);
    button1 = state.buttons[0];
    button2 = state.buttons[1];
}

StrValue joystickName(NumValue joystick) {
    const int index = toInt(joystick);
    if (!inputManager || index < 0 || index >= inputManager->joystickCount) return StrValue();
    return StrValue(inputManager->joystickNames[std::size_t(index)].c_str());
}

NumValue joystickCount() { return inputManager ? inputManager->joystickCount : 0; }

// A constant force towards (x, y), its strength half the squared length (full on a diagonal).
void joystickForce(NumValue joystick, NumValue durationMs, NumValue x, NumValue y) {
    platform::Joystick* device = deviceAt(joystick);
    if (!platform::hasConstantForce(device)) return;
    const double fx = std::isnan(x) ? 0.0 : std::clamp(x, -1.0, 1.0);
    const double fy = std::isnan(y) ? 0.0 : std::clamp(y, -1.0, 1.0);
    const long magnitude = std::lround((fx * fx + fy * fy) * 10000.0 * 0.5);  // 0..10000
    platform::ConstantForce force;
    force.directionX = int(fx * 32767.0);
    force.directionY = int(fy * 32767.0);
    force.level = int(magnitude * 32767 / 10000);
    force.durationMs = durationMs > 0 ? unsigned(std::min(durationMs, 4294967.0)) : 0u;
    platform::playConstantForce(device, force);
}

} // namespace tarvoke
