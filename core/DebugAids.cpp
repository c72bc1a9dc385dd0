// Debug aids for programs run from the development environment.
#include <cstdio>
#include "core/Engine.h"
#include "graphics2d/Graphics2D.h"
#include "input/Input.h"
#include "platform/Process.h"

namespace tarvoke {

void openConsole() { platform::attachConsole(); }

void debugBreakpoint(NumValue value) {
    if (!platform::isDebuggerAttached()) return;
    char text[16];
    std::snprintf(text, sizeof text, "BP%x", unsigned(toInt(value)));
    platform::sendDebuggerText(text);
    hideMainWindow();
    paused = false;
    pumpMessages();
    pollInputForFrame();
}

} // namespace tarvoke
