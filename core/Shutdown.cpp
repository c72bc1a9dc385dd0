// Every way out: shutdownEngine stops the subsystems in a fixed order; endProgram and
// endAndRun end the process with exit code 0.
#include <cstdlib>
#include "core/Engine.h"
#include "core/Errors.h"
#include "files/Files.h"
#include "graphics2d/Graphics2D.h"
#include "graphics3d/Graphics3D.h"
#include "input/Input.h"
#include "net/Net.h"
#include "platform/Clock.h"
#include "platform/Process.h"
#include "platform/Video.h"
#include "sound/Sound.h"
#include "tarvoke/sound.h"
#include "video/Video.h"

namespace tarvoke {
namespace {

bool ending = false;

void releaseTimerResolution() { platform::endTimerResolution(); }

void forgetMainWindow() {
    mainWindow = 0;
    platform::quitVideo();
}

struct ShutdownStep {
    int number;
    const char* what;
    void (*run)();  // null: the subsystem that owns it is not in the engine yet
};

// The whole shutdown, in order. Each step forgets what it frees, so running it twice is safe.
// The 3D scene stops before the graphics singleton: its shader objects live in the context the
// graphics singleton owns. The game's files are saved last but still here, not only by the exit
// handler that startFiles arms: a program started by endAndRun then finds them written, and
// an error-log line about a failed write comes before the debug end record.
// The game's libraries go last of all: nothing of the engine calls into them.
constexpr ShutdownStep shutdownSteps[] = {
    {1, "1 ms timer resolution", releaseTimerResolution},
    {2, "the movie playing, if the window closed during one", stopMovie},
    {2, "stop the background music", stopMusic},
    {3, "3D scene", stopGraphics3D},
    {3, "graphics singleton, window and context", stopGraphics2D},
    {4, "input object", stopInput},
    {5, "sound slots and sound device", stopSound},
    {6, "network session: leaves announced, thread stopped", stopNet},
    {7, "archive slots and their pending files", stopFiles},
    {8, "main window id", forgetMainWindow},
    {9, "INI document and line file written back if changed, file channels closed", saveFilesAtEnd},
    {10, "dynamic libraries the game bound", stopLibraries},
};

void writeEndRecord() {
    appendErrorLog("-End On Line");
    appendErrorLog(formatInteger(toInt(errorCode)));
    appendErrorLog(formatInteger(toInt(errorLine - 1)));
    appendErrorLog(formatInteger(toInt(currentLine)));
    appendErrorLog(formatInteger(toInt(debugTag)));
}

} // namespace

void shutdownEngine() {
    for (const ShutdownStep& step : shutdownSteps) {
        if (step.run) step.run();
    }
}

void endProgram() {
    // A second ending (from an exit handler, say) must not run exit() again.
    if (ending) std::_Exit(0);
    ending = true;
    shutdownEngine();
    if (projectSettings.debugMode) writeEndRecord();
    platform::exitProcess(0);
}

void endAndRun(const StrValue& commandLineToRun) {
    if (ending) std::_Exit(0);
    ending = true;
    const std::string toRun = commandLineToRun.cStr();
    shutdownEngine();
    platform::startProcess(toRun);
    platform::exitProcess(0);
}

} // namespace tarvoke
