// Platform contract, the mouse pointer over the main window: where it is put, whether it is
// shown, and whether it is held so that only its relative motion counts.
#pragma once

namespace tarvoke::platform {

// Puts the system pointer at client position (x, y) of the main window; nothing without one.
void movePointer(int x, int y);
// Hides the pointer and holds it: motion events then carry relative motion only. False when the
// window system refuses. Releasing shows the pointer again.
bool holdPointer(bool hold);
void hidePointer();
void showArrowPointer();

} // namespace tarvoke::platform
