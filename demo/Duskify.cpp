// Stands in for the Duskify shader demo until it is built: opens the window and runs the frame
// loop until Escape or the window's close button ends it.
#include <cstdio>
#include <tarvoke.h>

const tarvoke::GameInfo tarvoke::gameInfo = {"Duskify", tarvoke::ProjectSettings{}};

void tarvokeMain() {
    std::puts("Loading...");
    std::fflush(stdout);
    for (;;) tarvoke::showScreen();
}
