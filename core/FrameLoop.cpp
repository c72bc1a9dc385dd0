// The frame boundary: pause handling, keyboard ending, presenting, the frame limiter and the
// per-frame reset of the drawing state; and the event pump with the window procedure.
#include <algorithm>
#include "core/Engine.h"
#include "graphics2d/Graphics2D.h"
#include "graphics3d/Graphics3D.h"
#include "input/Input.h"
#include "platform/Clock.h"
#include "sound/Sound.h"

namespace tarvoke {

bool autoPause = false;
bool paused = false;
bool escapeEndsProgram = true;

namespace {

constexpr int keyEscape = 1;
constexpr int keyEscapeAlternative = 129;
constexpr int keyLeftAlt = 56;
constexpr int keyF4 = 62;
constexpr int pauseSleepMs = 100;
// The limiter sleeps while more than this remains of the wait and spins the rest, so the slot
// is met to the clock's resolution without burning a core.
constexpr double spinMarginMs = 2.0;
constexpr double longestSleepMs = 5.0;  // messages are pumped at least this often

[[noreturn]] void endFromKeyboard() {
    errorCode = 0;
    errorLine = currentLine;
    endProgram();
}

// Pumps messages while sleeping towards the slot, then spins on the clock alone: a pump can
// block on the window system for a millisecond or more, which would make the frame late.
double waitForSlot(const FrameClock& clock) {
    for (;;) {
        const double t = clock.now();
        if (t > clock.nextFrameTime) return t;
        const double remaining = clock.nextFrameTime - t;
        if (remaining > spinMarginMs) {
            pumpMessages();
            const double sleepMs = std::min(clock.nextFrameTime - clock.now() - spinMarginMs, longestSleepMs);
            if (sleepMs > 0) platform::sleepMicroseconds(int(sleepMs * 1000.0));
        }
    }
}

bool isWindowEvent(platform::EventType type) {
    return type == platform::EventType::CloseRequest || type == platform::EventType::Activated ||
           type == platform::EventType::Deactivated;
}

} // namespace

void endOnEndingKeys() {
    if (escapeEndsProgram && (isKeyDown(keyEscape) || isKeyDown(keyEscapeAlternative))) endFromKeyboard();
    if (isKeyDown(keyLeftAlt) && isKeyDown(keyF4)) endFromKeyboard();
}

int pumpMessages() {
    platform::Event event;
    while (platform::pollEvent(event)) {
        if (isWindowEvent(event.type))
            handleWindowEvent(event);
        else
            handleInputEvent(event);
    }
    return 1;
}

NumValue presentFrame() {
    if (!hasMainWindow()) return 1;
    finishFrame2D();
    const bool endAfterThisFrame = captureFrameIfDue();
    swapFrame();
    if (endAfterThisFrame) endProgram();
    clearFrame();
    FrameClock& clock = frameClock();
    const double t0 = clock.now();
    const double t = waitForSlot(clock);
    clock.advancePast(t);
    return (t - t0) + 1;
}

void showScreen() {
    if (!hasMainWindow()) return;
    if (projectSettings.debugMode) showAndRaiseMainWindow();
    previousFrameTime = frameTime;
    frameTime = now();
    while (paused) {
        keepMusicLooping();
        pumpMessages();
        platform::sleepMilliseconds(pauseSleepMs);
    }
    pollInputForFrame();
    endOnEndingKeys();
    leaveShadowPass3D();
    keepMusicLooping();
    pumpMessages();
    presentFrame();
    resetFrame2D();
    resetFrame3D();
}

void handleWindowEvent(const platform::Event& event) {
    const bool mayPause = !projectSettings.debugMode && autoPause;
    switch (event.type) {
    case platform::EventType::CloseRequest:
        endProgram();
    case platform::EventType::Deactivated:
        if (mayPause) {
            setMainWindowCaption(std::string(windowTitle.cStr()) + " <pause>");
            paused = true;
        }
        break;
    case platform::EventType::Activated:
        // A pause always ends on activation, even if auto-pause was switched off meanwhile
        // (inside an input wait): otherwise the program could never leave it.
        if (mayPause || paused) {
            setMainWindowCaption(windowTitle.cStr());
            paused = false;
        }
        break;
    default:
        break;
    }
}

void setAutoPause(NumValue flag) { autoPause = isSet(flag); }

void allowEscape(NumValue flag) { escapeEndsProgram = isSet(flag); }

} // namespace tarvoke
