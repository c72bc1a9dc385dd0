// Changes an INI file and a line file in $TMPDIR, leaves "$TMPDIR/running", then ends as its
// command line says: "return" from its main routine, "exit" through exit() alone, or "loop"
// (frames until Escape or the close button ends it). Each way must save both files.
#include <cstdlib>
#include <string>
#include <tarvoke.h>

const tarvoke::GameInfo tarvoke::gameInfo = {"Files game", tarvoke::ProjectSettings{}};

void tarvokeMain() {
    using namespace tarvoke;
    const char* tmpdir = std::getenv("TMPDIR");
    const std::string folder = std::string(tmpdir ? tmpdir : "/tmp") + "/";
    iniOpen((folder + "game.ini").c_str());
    iniPut("Run", "ended", getCommandLine());
    putFileLine((folder + "lines.txt").c_str(), 2, "saved");
    openFile(0, (folder + "running").c_str(), 0);
    closeFile(0);
    if (getCommandLine() == "exit") std::exit(0);
    if (getCommandLine() == "return") return;
    for (;;) showScreen();
}
