// A game that plays the movie named on its command line, looping, between two marker files in
// $TMPDIR: "playing" before playMovie, "returned" after it.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <tarvoke.h>

const tarvoke::GameInfo tarvoke::gameInfo = {"Movie game", tarvoke::ProjectSettings{}};

namespace {

void mark(const char* name) {
    const char* tmpdir = std::getenv("TMPDIR");
    if (std::FILE* file = std::fopen((std::string(tmpdir ? tmpdir : "/tmp") + "/" + name).c_str(), "w")) std::fclose(file);
}

} // namespace

void tarvokeMain() {
    using namespace tarvoke;
    showScreen();
    mark("playing");
    playMovie(getCommandLine(), 1);
    mark("returned");
}
