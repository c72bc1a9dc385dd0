// The input object's life and its event handling: created by start-up, bound to the window,
// fed by the event pump and the frame's poll, released at shutdown.
#include "input/InputManager.h"
#include "input/Input.h"
#include "platform/Clock.h"
#include "platform/Pointer.h"
#include "tarvoke/core.h"

namespace tarvoke {

InputManager* inputManager = nullptr;

namespace {

std::unique_ptr<InputManager> ownedInput;

// Bits of InputManager's button masks, by the event's button number (1 left, 2 middle, 3 right).
unsigned buttonBit(int button) {
    switch (button) {
    case 1: return 1u;
    case 3: return 2u;
    case 2: return 4u;
    default: return 0u;
    }
}

} // namespace

// Shift gives a capital even where Caps Lock made the layout answer in lower case; the Shift
// that counts is the one held when the key went down.
std::uint8_t InputManager::typedByte(char text) const {
    const bool shift = keysHeld[keyLeftShift] || keysHeld[keyRightShift];
    return std::uint8_t(shift && text >= 'a' && text <= 'z' ? text - 'a' + 'A' : text);
}

// Every press is queued, so presses of the same key, or of several keys, within one frame each
// give their character, in the order they came.
void InputManager::press(int keyCode) {
    keysHeld[keyCode] = true;
    pressedSincePoll[keyCode] = true;
    if (pressCount == pressQueueSize) {
        firstPress = (firstPress + 1) % pressQueueSize;
        --pressCount;
    }
    presses[std::size_t((firstPress + pressCount) % pressQueueSize)] = {std::uint8_t(keyCode), 0, pollCount};
    ++pressCount;
    awaitingText = true;
}

// A game that read no characters in a frame gets none later from presses that are over: such a
// press types while its key is down and in the frame after the one it came in (a tap reads down
// for that frame too). A game that is reading characters gets every one, however many queued up.
void InputManager::forgetStalePresses() {
    const bool reading = charactersRead;
    charactersRead = false;
    if (reading) return;
    int kept = 0;
    for (int i = 0; i < pressCount; ++i) {
        const TypedPress press = presses[std::size_t((firstPress + i) % pressQueueSize)];
        if (pollCount - press.poll < 2 || keysHeld[press.keyCode])
            presses[std::size_t((firstPress + kept++) % pressQueueSize)] = press;
    }
    pressCount = kept;
    if (pressCount == 0) awaitingText = false;
}

bool InputManager::takePress(TypedPress& taken) {
    if (pressCount == 0) return false;
    taken = presses[std::size_t(firstPress)];
    firstPress = (firstPress + 1) % pressQueueSize;
    --pressCount;
    if (pressCount == 0) awaitingText = false;
    return true;
}

void InputManager::handleEvent(const platform::Event& event) {
    const int code = event.keyCode;
    const bool hasCode = code >= 0 && code < keyCodeCount;
    switch (event.type) {
    case platform::EventType::KeyDown:
        awaitingText = false;
        if (!hasCode) break;
        // Auto-repeat is no new press; it only says the key is still down.
        if (event.repeat)
            keysHeld[code] = true;
        else
            press(code);
        break;
    case platform::EventType::KeyUp:
        if (hasCode) keysHeld[code] = false;
        break;
    case platform::EventType::Text:
        // The window system sends a key's text right after the key: that is what the key typed
        // on the active layout with the modifiers held.
        if (awaitingText && pressCount > 0 && !event.text.empty())
            presses[std::size_t((firstPress + pressCount - 1) % pressQueueSize)].typed = typedByte(event.text[0]);
        awaitingText = false;
        break;
    case platform::EventType::MouseMotion:
        pointerX = event.x;
        pointerY = event.y;
        motionX += event.dx;
        motionY += event.dy;
        break;
    case platform::EventType::MouseButtonDown:
        buttonsHeld |= buttonBit(event.button);
        buttonsPressedSincePoll |= buttonBit(event.button);
        break;
    case platform::EventType::MouseButtonUp:
        buttonsHeld &= ~buttonBit(event.button);
        break;
    case platform::EventType::MouseWheel:
        wheelSteps += event.wheel;
        break;
    default:
        break;
    }
}

void InputManager::takeEvents() {
    platform::takeInputEvents(handleInputEvent);
    lastEventTake = platform::counterValue();
}

void InputManager::pollForFrame() {
    takeEvents();
    for (int code = 0; code < keyCodeCount; ++code) {
        tapped[code] = pressedSincePoll[code] && !keysHeld[code];
        downAtPoll[code] = keysHeld[code] || tapped[code];
        pressedSincePoll[code] = false;
    }
    buttonsTapped = buttonsPressedSincePoll & ~buttonsHeld;
    buttonsPressedSincePoll = 0;
    freshFrame = true;
    ++pollCount;
    forgetStalePresses();
}

// Games that wait in a loop of their own, without showScreen, still see the keys change; a game
// that tests many keys in one frame takes the events once.
void InputManager::poll() {
    const std::uint64_t millisecond = platform::counterFrequency() / 1000;
    if (platform::counterValue() - lastEventTake >= millisecond) takeEvents();
}

bool startInput() {
    if (!ownedInput) ownedInput = std::make_unique<InputManager>();
    inputManager = ownedInput.get();
    return true;
}

bool bindInputToWindow() {
    if (!inputManager) return true;
    InputManager& input = *inputManager;
    if (!platform::hasEventPump()) appendErrorLog("No DX_KB");
    openJoysticks(input);
    if (projectSettings.hideMousePointer == 0) {
        showPointer(input, true);
    } else {
        input.pointerShown = false;
        input.pointerHeld = platform::holdPointer(true);
        if (!input.pointerHeld) appendErrorLog("No DX_Mouse");
    }
    return true;
}

bool applyPointerSetting() {
    if (inputManager) showPointer(*inputManager, projectSettings.hideMousePointer == 0);
    return true;
}

void stopInput() {
    if (inputManager) {
        InputManager& input = *inputManager;
        if (input.pointerHeld) platform::holdPointer(false);
        platform::movePointer(input.mouseX, input.mouseY);
        platform::showArrowPointer();
        for (JoystickDevice& device : input.joystickDevices) device.reset();
        if (input.joysticksStarted) platform::stopJoysticks();
    }
    inputManager = nullptr;
    ownedInput.reset();
}

void handleInputEvent(const platform::Event& event) {
    if (inputManager) inputManager->handleEvent(event);
}

void pollInputForFrame() {
    if (inputManager) inputManager->pollForFrame();
}

bool isKeyDown(int keyCode) { return inputManager && inputManager->isKeyDown(keyCode); }

} // namespace tarvoke
