// The input monitor: shows what a game reads from the keyboard (the key codes held and the
// characters typed), the mouse and the joysticks, so that a controller can be checked before a
// game relies on it. Escape ends it.
#include "InputMonitor.h"

const tarvoke::GameInfo tarvoke::gameInfo = {"Input monitor", tarvoke::ProjectSettings{}};

void tarvokeMain() {
    inputMonitor::Monitor monitor;
    for (;;) {
        inputMonitor::drawFrame(monitor);
        tarvoke::showScreen();
    }
}
