// Unpacks "greeting.txt" from the archive named by $HOLDING_ARCHIVE, writes the unpacked file's
// path to $HOLDING_REPORT, then runs until it is ended from outside.
#include <cstdlib>
#include <fstream>
#include <tarvoke.h>
#include "files/ArchiveSlot.h"

const tarvoke::GameInfo tarvoke::gameInfo = {"Holding game", tarvoke::ProjectSettings{}};

void tarvokeMain() {
    using namespace tarvoke;
    setArchive(StrValue(std::getenv("HOLDING_ARCHIVE")), "");
    StrValue path("greeting.txt");
    const bool found = resolveFile(generalArchive, path, path);
    std::ofstream(std::getenv("HOLDING_REPORT")) << (found ? path.cStr() : "missing") << '\n';
    for (;;) sleepMs(50);
}
