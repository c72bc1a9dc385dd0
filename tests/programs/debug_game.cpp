// A game built in debug mode, at source line 42 with tag 5. With "error" on its command line it
// records runtime error 7 and ends itself; otherwise it runs frames until ended from outside.
// Once its main routine runs it leaves "$TMPDIR/running", so a test knows start-up is over.
#include <cstdio>
#include <cstdlib>
#include <string>
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
    const char* tmpdir = std::getenv("TMPDIR");
    if (std::FILE* marker = std::fopen((std::string(tmpdir ? tmpdir : "/tmp") + "/running").c_str(), "w"))
        std::fclose(marker);
    if (findText(getCommandLine(), "error") >= 0) {
        recordError(7);
        endProgram();
    }
    for (;;) showScreen();
}
