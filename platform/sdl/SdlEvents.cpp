// The event pump on SDL2: SDL's events in the engine's terms.
#include <SDL.h>
#include "platform/Events.h"
#include "platform/sdl/SdlText.h"

namespace tarvoke::platform {
namespace {

// SDL numbers the buttons left 1, middle 2, right 3, then the side buttons; so do we.
void fromMouseButton(const SDL_MouseButtonEvent& button, EventType type, Event& event) {
    event.type = type;
    event.button = button.button;
    event.x = button.x;
    event.y = button.y;
}

// Window events the engine acts on; false for the rest.
bool fromWindowEvent(const SDL_WindowEvent& window, Event& event) {
    switch (window.event) {
    case SDL_WINDOWEVENT_CLOSE: event.type = EventType::CloseRequest; return true;
    case SDL_WINDOWEVENT_FOCUS_GAINED: event.type = EventType::Activated; return true;
    case SDL_WINDOWEVENT_FOCUS_LOST: event.type = EventType::Deactivated; return true;
    default: return false;
    }
}

// Fills `event` from SDL's; false for events the engine has no use for.
bool translate(const SDL_Event& sdl, Event& event) {
    event = Event{};
    switch (sdl.type) {
    case SDL_QUIT: event.type = EventType::CloseRequest; return true;
    case SDL_WINDOWEVENT: return fromWindowEvent(sdl.window, event);
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        event.type = sdl.type == SDL_KEYDOWN ? EventType::KeyDown : EventType::KeyUp;
        event.keyCode = keyCodeOfScancode(sdl.key.keysym.scancode);
        event.repeat = sdl.key.repeat != 0;
        return true;
    case SDL_TEXTINPUT:
        event.type = EventType::Text;
        event.text = windows1252FromUtf8(sdl.text.text, true);
        return true;
    case SDL_MOUSEMOTION:
        event.type = EventType::MouseMotion;
        event.x = sdl.motion.x;
        event.y = sdl.motion.y;
        event.dx = sdl.motion.xrel;
        event.dy = sdl.motion.yrel;
        return true;
    case SDL_MOUSEBUTTONDOWN: fromMouseButton(sdl.button, EventType::MouseButtonDown, event); return true;
    case SDL_MOUSEBUTTONUP: fromMouseButton(sdl.button, EventType::MouseButtonUp, event); return true;
    case SDL_MOUSEWHEEL:
        event.type = EventType::MouseWheel;
        event.wheel = sdl.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -sdl.wheel.y : sdl.wheel.y;
        return true;
    case SDL_JOYDEVICEADDED:
    case SDL_JOYDEVICEREMOVED:
        event.type = sdl.type == SDL_JOYDEVICEADDED ? EventType::JoystickAdded : EventType::JoystickRemoved;
        event.device = sdl.jdevice.which;
        return true;
    default: return false;
    }
}

} // namespace

bool hasEventPump() { return SDL_WasInit(SDL_INIT_EVENTS) != 0; }

void takeInputEvents(void (*handle)(const Event& event)) {
    if (!SDL_WasInit(SDL_INIT_EVENTS)) return;
    SDL_PumpEvents();
    SDL_Event sdl;
    Event event;
    // Key, text and mouse events are the contiguous range from key-down to the wheel.
    while (SDL_PeepEvents(&sdl, 1, SDL_GETEVENT, SDL_KEYDOWN, SDL_MOUSEWHEEL) == 1) {
        if (translate(sdl, event)) handle(event);
    }
}

bool pollEvent(Event& event) {
    if (!SDL_WasInit(SDL_INIT_EVENTS)) return false;
    SDL_Event sdl;
    while (SDL_PollEvent(&sdl)) {
        if (translate(sdl, event)) return true;
    }
    return false;
}

} // namespace tarvoke::platform
