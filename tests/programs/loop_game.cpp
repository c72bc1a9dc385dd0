// A game that only runs frames. Its command line chooses: "noescape" (allowEscape 0),
// "noautopause" (setAutoPause 0), "count" (writes the frame number to $TMPDIR/frames.txt).
#include <cstdio>
#include <cstdlib>
#include <string>
#include <tarvoke.h>

const tarvoke::GameInfo tarvoke::gameInfo = {"Loop game", tarvoke::ProjectSettings{}};

void tarvokeMain() {
    using namespace tarvoke;
    const StrValue arguments = getCommandLine();
    if (findText(arguments, "noescape") >= 0) allowEscape(0);
    if (findText(arguments, "noautopause") >= 0) setAutoPause(0);
    const bool count = findText(arguments, "count") >= 0;
    const char* tmpdir = std::getenv("TMPDIR");
    const std::string counterPath = std::string(tmpdir ? tmpdir : "/tmp") + "/frames.txt";
    for (long frame = 1;; ++frame) {
        showScreen();
        if (!count) continue;
        // Written aside and renamed, so a reader never sees a half-written count.
        if (std::FILE* counter = std::fopen((counterPath + ".new").c_str(), "w")) {
            std::fprintf(counter, "%ld\n", frame);
            std::fclose(counter);
            std::rename((counterPath + ".new").c_str(), counterPath.c_str());
        }
    }
}
