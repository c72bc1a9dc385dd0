// Looks "greeting.txt" up through the general lookup, without naming any archive, and writes
// what it found to $TMPDIR/found.txt ("missing" when the lookup fails).
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <tarvoke.h>
#include "files/ArchiveSlot.h"

const tarvoke::GameInfo tarvoke::gameInfo = {"Archive game", tarvoke::ProjectSettings{}};

void tarvokeMain() {
    using namespace tarvoke;
    StrValue path;
    std::string found = "missing";
    if (resolveFile(generalArchive, StrValue("media\\greeting.txt"), path)) {
        std::ifstream in(path.cStr(), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        found = text.str();
    }
    const char* tmpdir = std::getenv("TMPDIR");
    std::ofstream(std::string(tmpdir ? tmpdir : "/tmp") + "/found.txt") << found;
}
