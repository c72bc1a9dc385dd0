// The engine's main(): fills the project settings and the command line, starts up, runs the
// game's main routine and ends the program.
#include <cstdio>
#include <new>
#include <string>
#include <vector>
#include "core/CommandLine.h"
#include "core/Engine.h"
#include "graphics2d/Graphics2D.h"

int main(int argc, char** argv) {
    using namespace tarvoke;
    projectSettings = gameInfo.settings;
    std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const EngineOptions options = takeEngineOptions(arguments);
    commandLine = joinCommandLine(arguments).c_str();

    initEngine(gameInfo.title, 1);
    if (!hasMainWindow()) {
        std::fprintf(stderr, "%s: the main window could not be created\n", gameInfo.title);
        endProgram();
    }
    if (options.captureFrames > 0) armFrameCapture(options.captureFrames, options.screenshotPath);

    errorCode = 0;
    errorLine = 0;
    currentLine = 0;
    try {
        tarvokeMain();
    } catch (const std::bad_alloc&) {
        appendErrorLog("Out of memory");
    }
    endProgram();
}
