// Joysticks and their force feedback on SDL2's joystick and haptic interfaces. Devices are read
// on demand: SDL's joystick events are switched off, so nothing but a read moves their state.
#include <SDL.h>
#include <vector>
#include "platform/Joysticks.h"

namespace tarvoke::platform {

struct Joystick {
    SDL_Joystick* device = nullptr;
    SDL_Haptic* haptic = nullptr;   // null when the device has no force feedback
    int effect = -1;                // the effect uploaded last; -1 none
};

namespace {

bool hapticStarted = false;
std::vector<SDL_Joystick*> virtualDevices;  // opened by attachVirtualJoystick, so they can be set

SDL_Haptic* openHaptic(SDL_Joystick* device) {
    if (!hapticStarted || SDL_JoystickIsHaptic(device) != SDL_TRUE) return nullptr;
    return SDL_HapticOpenFromJoystick(device);
}

} // namespace

bool startJoysticks() {
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return false;
    SDL_JoystickEventState(SDL_IGNORE);
    if (!hapticStarted) hapticStarted = SDL_InitSubSystem(SDL_INIT_HAPTIC) == 0;
    return true;
}

void stopJoysticks() {
    if (hapticStarted) SDL_QuitSubSystem(SDL_INIT_HAPTIC);
    hapticStarted = false;
    if (SDL_WasInit(SDL_INIT_JOYSTICK)) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

int joystickDeviceCount() {
    if (!SDL_WasInit(SDL_INIT_JOYSTICK)) return 0;
    const int count = SDL_NumJoysticks();
    return count > 0 ? count : 0;
}

Joystick* openJoystick(int index) {
    SDL_Joystick* device = SDL_JoystickOpen(index);
    if (!device) return nullptr;
    return new Joystick{device, openHaptic(device), -1};
}

void closeJoystick(Joystick* joystick) {
    if (!joystick) return;
    if (joystick->haptic) SDL_HapticClose(joystick->haptic);
    SDL_JoystickClose(joystick->device);
    delete joystick;
}

std::string joystickName(Joystick* joystick) {
    const char* name = joystick ? SDL_JoystickName(joystick->device) : nullptr;
    return name ? name : "";
}

bool readJoystick(Joystick* joystick, JoystickReading& reading) {
    reading = JoystickReading{};
    if (!joystick || !SDL_JoystickGetAttached(joystick->device)) return false;
    SDL_JoystickUpdate();
    const int axes = SDL_min(SDL_JoystickNumAxes(joystick->device), joystickAxisCount);
    for (int axis = 0; axis < axes; ++axis) reading.axes[axis] = SDL_JoystickGetAxis(joystick->device, axis);
    const int buttons = SDL_min(SDL_JoystickNumButtons(joystick->device), joystickButtonCount);
    for (int button = 0; button < buttons; ++button)
        reading.buttons[button] = SDL_JoystickGetButton(joystick->device, button) != 0;
    if (SDL_JoystickNumHats(joystick->device) > 0) {
        const Uint8 hat = SDL_JoystickGetHat(joystick->device, 0);
        reading.hatX = (hat & SDL_HAT_RIGHT) ? 1 : (hat & SDL_HAT_LEFT) ? -1 : 0;
        reading.hatY = (hat & SDL_HAT_DOWN) ? 1 : (hat & SDL_HAT_UP) ? -1 : 0;
    }
    return true;
}

bool hasConstantForce(Joystick* joystick) {
    return joystick && joystick->haptic && (SDL_HapticQuery(joystick->haptic) & SDL_HAPTIC_CONSTANT) != 0;
}

bool playConstantForce(Joystick* joystick, const ConstantForce& force) {
    if (!hasConstantForce(joystick)) return false;
    SDL_Haptic* haptic = joystick->haptic;
    SDL_HapticStopAll(haptic);
    if (joystick->effect >= 0) SDL_HapticDestroyEffect(haptic, joystick->effect);
    joystick->effect = -1;
    if (SDL_HapticQuery(haptic) & SDL_HAPTIC_GAIN) SDL_HapticSetGain(haptic, 100);
    SDL_HapticEffect effect{};
    effect.type = SDL_HAPTIC_CONSTANT;
    effect.constant.direction.type = SDL_HAPTIC_CARTESIAN;
    effect.constant.direction.dir[0] = force.directionX;
    effect.constant.direction.dir[1] = force.directionY;
    effect.constant.length = force.durationMs;
    effect.constant.level = Sint16(SDL_clamp(force.level, 0, 32767));
    joystick->effect = SDL_HapticNewEffect(haptic, &effect);
    return joystick->effect >= 0 && SDL_HapticRunEffect(haptic, joystick->effect, 1) == 0;
}

int attachVirtualJoystick(const std::string& name, int axes, int buttons, int hats) {
    // The tests' own hold on the service, so that the engine's start and stop keep the device.
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return -1;
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    SDL_VirtualJoystickDesc description{};
    description.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    description.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    description.naxes = Uint16(axes);
    description.nbuttons = Uint16(buttons);
    description.nhats = Uint16(hats);
    description.name = name.c_str();
    const int index = SDL_JoystickAttachVirtualEx(&description);
    SDL_Joystick* device = index >= 0 ? SDL_JoystickOpen(index) : nullptr;
    if (!device) {
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
        return -1;
    }
    virtualDevices.push_back(device);
    return index;
}

void setVirtualJoystick(int index, const int axes[], int axisCount, int hatX, int hatY,
                        const bool buttons[], int buttonCount) {
    SDL_Joystick* device = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(index));
    if (!device) return;
    for (int axis = 0; axis < axisCount; ++axis)
        SDL_JoystickSetVirtualAxis(device, axis, Sint16(SDL_clamp(axes[axis], -32768, 32767)));
    for (int button = 0; button < buttonCount; ++button)
        SDL_JoystickSetVirtualButton(device, button, buttons[button] ? SDL_PRESSED : SDL_RELEASED);
    const Uint8 hat = Uint8((hatX > 0 ? SDL_HAT_RIGHT : hatX < 0 ? SDL_HAT_LEFT : 0) |
                            (hatY > 0 ? SDL_HAT_DOWN : hatY < 0 ? SDL_HAT_UP : 0));
    if (SDL_JoystickNumHats(device) > 0) SDL_JoystickSetVirtualHat(device, 0, hat);
}

void detachVirtualJoysticks() {
    for (SDL_Joystick* device : virtualDevices) SDL_JoystickClose(device);
    for (int index = SDL_NumJoysticks() - 1; index >= 0; --index)
        if (SDL_JoystickIsVirtual(index)) SDL_JoystickDetachVirtual(index);
    for (std::size_t i = 0; i < virtualDevices.size(); ++i) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    virtualDevices.clear();
}

} // namespace tarvoke::platform
