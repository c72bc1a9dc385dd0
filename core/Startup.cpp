// initEngine: starts the subsystems in a fixed order, opens the main window, shows the
// "Loading..." frame and arms the timers so that the game starts at time 0.
#include <cstdio>
#include "core/Engine.h"
#include "core/Errors.h"
#include "files/Files.h"
#include "graphics2d/Graphics2D.h"
#include "graphics3d/Graphics3D.h"
#include "input/Input.h"
#include "net/Net.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Video.h"
#include "sound/Sound.h"
#include "tarvoke/graphics2d.h"
#include "values/Random.h"

namespace tarvoke {

ProjectSettings projectSettings;
StrValue commandLine;
StrValue windowTitle;
std::uint32_t mainWindow = 0;

namespace {

int startupShowCommand = 1;  // 0: start hidden

// A step returns false only when start-up cannot go on.
struct StartupStep {
    int number;
    const char* what;
    bool (*run)();  // null: the subsystem that does it is not in the engine yet
};

void setTimersToNow() { timerBase = frameTime = previousFrameTime = now(); }

// The executable's folder: its full path cut after the last "/" or "\".
std::string executableDirectory() {
    const std::string path = platform::executablePath();
    const std::size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

bool turnAutoPauseOn() {
    autoPause = true;
    return true;
}

bool startFrameClock() {
    frameClock().start(projectSettings.frameRate);
    return true;
}

bool captionWindow() {
    mainWindow = mainWindowHandle();
    setMainWindowCaption(windowTitle.cStr());
    return true;
}

bool startWithoutLog() {
    deleteErrorLog();
    return true;
}

bool seedRandomFromClock() {
    seedRandom(seedFromMilliseconds(now()));
    return true;
}

bool refreshMainWindowId() {
    mainWindow = mainWindowHandle();
    return true;
}

bool selectDefaultFont() {
    setFont(0);
    return true;
}

bool enterExecutableDirectory() {
    const std::string directory = executableDirectory();
    if (!directory.empty()) platform::setCurrentDirectory(directory);
    return true;
}

bool dropBackground() {
    clearBackground();
    return true;
}

bool startTimers() {
    setTimersToNow();
    return true;
}

bool presentFirstFrame() {
    presentFrame();
    setViewport(0, 0, 0, 0);
    return true;
}

// The built-in font first, so that slot 0 holds a font even when "smalfont.bmp" is missing.
bool resetFontSlotZero() {
    loadFont("", 0);
    return true;
}

bool loadDefaultFont() {
    loadFont("smalfont.bmp", 0);
    return true;
}

bool printLoading() {
    printLoadingText();
    return true;
}

bool showLoadingFrame() {
    showScreen();
    return true;
}

bool clearPause() {
    paused = false;
    return true;
}

bool raiseTimerResolution() {
    platform::beginTimerResolution();
    return true;
}

bool showArrowCursor() {
    platform::setArrowCursor();
    return true;
}

bool hideIfAsked() {
    if (startupShowCommand == 0) hideMainWindow();
    return true;
}

bool reportReady() {
    std::puts("Init OK");
    std::fflush(stdout);
    return true;
}

// The whole start-up, in order. Steps whose `run` is null belong to subsystems not yet in the
// engine; they are listed so the order stays visible.
// The error log is deleted before the window opens rather than after it, so the lines the
// window writes in this run, such as the software-renderer warning, stay in it.
constexpr StartupStep startupSteps[] = {
    {1, "auto-pause on", turnAutoPauseOn},
    {5, "delete the error log", startWithoutLog},
    {2, "graphics singleton", startGraphics2D},
    {3, "main window and OpenGL context", openMainWindow},
    {3, "frame limiter at the project's frame rate", startFrameClock},
    {4, "window id, caption and title", captionWindow},
    {6, "input object", startInput},
    {7, "sound device and sound slot table", startSound},
    {8, "network session, idle", startNet},
    {9, "3D scene singleton", startGraphics3D},
    {10, "seed the random generator", seedRandomFromClock},
    {11, "windowed or full-screen mode", applyScreenModeSetting},
    {12, "bind input to the final window: joysticks, keyboard, mouse", bindInputToWindow},
    {12, "window id after the mode switch", refreshMainWindowId},
    {13, "audio output for the final window; silent without one", openSoundOutput},
    {14, "font slot 0 current", selectDefaultFont},
    {15, "executable's directory current", enterExecutableDirectory},
    {16, "archive slots, both on the executable's own file", startFiles},
    {17, "drop the background picture, clear the colour buffer", dropBackground},
    {18, "timers to now", startTimers},
    {19, "present once, 2D state", presentFirstFrame},
    {20, "read the screen size and reset font slot 0", resetFontSlotZero},
    {21, "load \"smalfont.bmp\" into font slot 0", loadDefaultFont},
    {22, "print \"Loading...\" centred", printLoading},
    {22, "show the loading frame", showLoadingFrame},
    {23, "clear the pause", clearPause},
    {24, "1 ms timer resolution", raiseTimerResolution},
    {25, "arrow cursor", showArrowCursor},
    {26, "timers to now again", startTimers},
    {27, "hidden show command hides the window", hideIfAsked},
    {28, "mouse pointer setting", applyPointerSetting},
    {29, "\"Init OK\" on standard output", reportReady},
};

} // namespace

int initEngine(const StrValue& title, int showCommand) {
    if (isGraphics2DStarted()) return 0;  // already started
    windowTitle = title;
    startupShowCommand = showCommand;
    for (const StartupStep& step : startupSteps) {
        if (step.run && !step.run()) break;
    }
    return 0;
}

StrValue getCommandLine() { return commandLine; }

NumValue getWindowHandle() { return NumValue(mainWindow); }

} // namespace tarvoke
