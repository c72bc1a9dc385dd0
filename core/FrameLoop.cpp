// The frame boundary: pause handling, keyboard ending, presenting, the frame limiter and the
// per-frame reset of the drawing state.
#include <GL/gl.h>
#include <algorithm>
#include "core/Engine.h"
#include "graphics2d/Grabs.h"
#include "graphics2d/OpenGLKestrel.h"
#include "graphics2d/Screens.h"
#include "input/InputManager.h"
#include "tarvoke/graphics3d.h"

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

void endOnEndingKeys() {
    if (!inputManager) return;
    const InputManager& input = *inputManager;
    if (escapeEndsProgram && (input.isKeyDown(keyEscape) || input.isKeyDown(keyEscapeAlternative)))
        endFromKeyboard();
    if (input.isKeyDown(keyLeftAlt) && input.isKeyDown(keyF4)) endFromKeyboard();
}

// Pumps messages while sleeping towards the slot, then spins on the clock alone: a pump can
// block on the window system for a millisecond or more, which would make the frame late.
double waitForSlot(const OpenGLKestrel& kestrel) {
    for (;;) {
        const double t = now();
        if (t > kestrel.nextFrameTime) return t;
        const double remaining = kestrel.nextFrameTime - t;
        if (remaining > spinMarginMs) {
            pumpMessages();
            const double sleepMs = std::min(kestrel.nextFrameTime - now() - spinMarginMs, longestSleepMs);
            if (sleepMs > 0) platform::sleepMicroseconds(int(sleepMs * 1000.0));
        }
    }
}

// Every frame starts from the same defaults with the background already painted.
void resetFrameState(OpenGLKestrel& kestrel) {
    glDisable(GL_BLEND);
    kestrel.globalAlpha = 1.0f;
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    drawTiledImage(0);
    resetState2D(0, 0, 0, 0);
    setShader(-1);
}

} // namespace

int pumpMessages() {
    for (const platform::WindowEvent& event : platform::takeWindowEvents()) handleWindowEvent(event);
    return 1;
}

NumValue presentFrame() {
    OpenGLKestrel* kestrel = openGLKestrel;
    if (!kestrel || !kestrel->main.window) return 1;
    endScreen();
    const bool endAfterThisFrame = captureFrameIfDue();
    platform::swapBuffers(kestrel->main.window);
    if (endAfterThisFrame) endProgram();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const double t0 = now();
    const double t = waitForSlot(*kestrel);
    kestrel->nextFrameTime = nextFrameSlot(kestrel->nextFrameTime, kestrel->framePeriod, t);
    return (t - t0) + 1;
}

void showScreen() {
    OpenGLKestrel* kestrel = openGLKestrel;
    if (!kestrel) return;
    if (projectSettings.debugMode) {
        platform::showWindow(kestrel->main.window);
        platform::raiseWindow(kestrel->main.window);
    }
    previousFrameTime = frameTime;
    frameTime = now();
    while (paused) {
        pumpMessages();
        platform::sleepMilliseconds(pauseSleepMs);
    }
    if (inputManager) {
        inputManager->pollKeyboard();
        inputManager->freshFrame = true;
    }
    endOnEndingKeys();
    pumpMessages();
    presentFrame();
    resetFrameState(*kestrel);
}

void handleWindowEvent(const platform::WindowEvent& event) {
    OpenGLKestrel* kestrel = openGLKestrel;
    platform::NativeWindow* window = kestrel ? kestrel->main.window : nullptr;
    const bool mayPause = !projectSettings.debugMode && autoPause;
    switch (event.type) {
    case platform::WindowEventType::CloseRequest:
        endProgram();
    case platform::WindowEventType::Deactivated:
        if (mayPause) {
            platform::setWindowCaption(window, std::string(windowTitle.cStr()) + " <pause>");
            paused = true;
        }
        break;
    case platform::WindowEventType::Activated:
        // A pause always ends on activation, even if auto-pause was switched off meanwhile
        // (inside an input wait): otherwise the program could never leave it.
        if (mayPause || paused) {
            platform::setWindowCaption(window, windowTitle.cStr());
            paused = false;
        }
        break;
    }
}

} // namespace tarvoke
