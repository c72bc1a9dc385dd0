// Debug aids for programs run from the development environment.
#include <cstdio>
#include "core/Engine.h"
#include "graphics2d/OpenGLKestrel.h"
#include "input/InputManager.h"

namespace tarvoke {

void openConsole() { platform::attachConsole(); }

void debugBreakpoint(NumValue value) {
    if (!platform::isDebuggerAttached()) return;
    char text[16];
    std::snprintf(text, sizeof text, "BP%x", unsigned(toInt(value)));
    platform::sendDebuggerText(text);
    if (openGLKestrel) platform::hideWindow(openGLKestrel->main.window);
    paused = false;
    if (inputManager) {
        inputManager->pollKeyboard();
        inputManager->freshFrame = true;
    }
}

} // namespace tarvoke
