// A game built in debug mode, at source line 42 with tag 5. With "error" on its command line it
// records runtime error 7 and ends itself; otherwise it runs frames until ended from outside.
#include <tarvoke.h>

namespace {
tarvoke::ProjectSettings debugSettings() {
    tarvoke::ProjectSettings settings;
    settings.debugMode = 1;
    return settings;
}
} // namespace

const tarvoke::GameInfo tarvoke::gameInfo = {"Debug game", debugSettings()};

void tarvokeMain() {
    using namespace tarvoke;
    setDebugPosition(5, 42);
    if (findText(getCommandLine(), "error") >= 0) {
        recordError(7);
        endProgram();
    }
    for (;;) showScreen();
}
