// initEngine: creates the engine singletons in a fixed order, opens the main window, shows the
// "Loading..." frame and arms the timers so that the game starts at time 0.
#include <GL/gl.h>
#include <cstdio>
#include "core/Engine.h"
#include "core/Errors.h"
#include "files/ArchiveSlot.h"
#include "graphics2d/Fonts.h"
#include "graphics2d/OpenGLKestrel.h"
#include "graphics3d/Kestrel3D.h"
#include "input/InputManager.h"
#include "tarvoke/graphics2d.h"
#include "values/Random.h"

namespace tarvoke {

ProjectSettings projectSettings;
StrValue commandLine;
StrValue windowTitle;
std::uint32_t mainWindow = 0;
int currentFont = 0;

namespace {

struct StartupRequest {
    const StrValue& title;
    int showCommand;  // 0: start hidden
};

// A step returns false only when start-up cannot go on.
using StepFunction = bool (*)(const StartupRequest&);

struct StartupStep {
    int number;
    const char* what;
    StepFunction run;  // null: the subsystem that does it is not in the engine yet
};

platform::NativeWindow* nativeMainWindow() { return openGLKestrel ? openGLKestrel->main.window : nullptr; }

void setTimersToNow() { timerBase = frameTime = previousFrameTime = now(); }

// The executable's folder: its full path cut after the last "/" or "\".
std::string executableDirectory() {
    const std::string path = platform::executablePath();
    const std::size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

bool turnAutoPauseOn(const StartupRequest&) {
    autoPause = true;
    return true;
}

bool createGraphics(const StartupRequest&) {
    openGLKestrel = new OpenGLKestrel();
    return true;
}

bool openMainWindow(const StartupRequest&) {
    return openGLKestrel->createWindow(projectSettings.screenWidth, projectSettings.screenHeight, 0,
                                       projectSettings.frameRate, projectSettings.multisampleCount) != 0;
}

bool captionWindow(const StartupRequest& request) {
    mainWindow = platform::nativeHandle(nativeMainWindow());
    platform::setWindowCaption(nativeMainWindow(), request.title.cStr());
    windowTitle = request.title;
    return true;
}

bool createScene(const StartupRequest&) {
    kestrel3D = new Kestrel3D(openGLKestrel);
    return true;
}

bool startWithoutLog(const StartupRequest&) {
    deleteErrorLog();
    return true;
}

bool createInput(const StartupRequest&) {
    inputManager = new InputManager();
    return true;
}

bool seedRandomFromClock(const StartupRequest&) {
    seedRandom(seedFromMilliseconds(now()));
    return true;
}

bool chooseScreenMode(const StartupRequest&) {
    if (projectSettings.fullScreen == 0)
        openGLKestrel->setWindowedMode();
    else
        openGLKestrel->setFullScreenMode();
    return true;
}

bool bindInputToWindow(const StartupRequest&) {
    inputManager->initInput(nativeMainWindow());
    mainWindow = platform::nativeHandle(nativeMainWindow());
    return true;
}

bool selectDefaultFont(const StartupRequest&) {
    currentFont = 0;
    return true;
}

bool enterExecutableDirectory(const StartupRequest&) {
    const std::string directory = executableDirectory();
    if (!directory.empty()) platform::setCurrentDirectory(directory);
    return true;
}

bool createArchives(const StartupRequest&) {
    createArchiveSlots(platform::executablePath());
    return true;
}

bool dropBackground(const StartupRequest&) {
    clearBackground();
    return true;
}

bool startTimers(const StartupRequest&) {
    setTimersToNow();
    return true;
}

bool presentFirstFrame(const StartupRequest&) {
    presentFrame();
    resetState2D(0, 0, 0, 0);
    return true;
}

// The built-in font first, so that slot 0 holds a font even when "smalfont.bmp" is missing.
bool resetFontSlotZero(const StartupRequest&) {
    loadFont("", 0);
    return true;
}

bool loadDefaultFont(const StartupRequest&) {
    loadFont("smalfont.bmp", 0);
    return true;
}

bool printLoadingText(const StartupRequest&) {
    printLoadingMessage();
    return true;
}

bool showLoadingFrame(const StartupRequest&) {
    showScreen();
    return true;
}

bool clearPause(const StartupRequest&) {
    paused = false;
    return true;
}

bool raiseTimerResolution(const StartupRequest&) {
    platform::beginTimerResolution();
    return true;
}

bool showArrowCursor(const StartupRequest&) {
    platform::setArrowCursor();
    return true;
}

bool hideIfAsked(const StartupRequest& request) {
    if (request.showCommand == 0) openGLKestrel->hideWindow();
    return true;
}

bool reportReady(const StartupRequest&) {
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
    {2, "graphics singleton", createGraphics},
    {3, "main window and OpenGL context", openMainWindow},
    {4, "window id, caption and title", captionWindow},
    {6, "input object", createInput},
    {7, "sound device and sound slot table", nullptr},
    {8, "network session, idle", nullptr},
    {9, "3D scene singleton", createScene},
    {10, "seed the random generator", seedRandomFromClock},
    {11, "windowed or full-screen mode", chooseScreenMode},
    {12, "bind input to the final window", bindInputToWindow},
    {13, "sound device for the final window", nullptr},
    {14, "font slot 0 current", selectDefaultFont},
    {15, "executable's directory current", enterExecutableDirectory},
    {16, "archive slots, both on the executable's own file", createArchives},
    {17, "drop the background picture, clear the colour buffer", dropBackground},
    {18, "timers to now", startTimers},
    {19, "present once, 2D state", presentFirstFrame},
    {20, "read the screen size and reset font slot 0", resetFontSlotZero},
    {21, "load \"smalfont.bmp\" into font slot 0", loadDefaultFont},
    {22, "print \"Loading...\" centred", printLoadingText},
    {22, "show the loading frame", showLoadingFrame},
    {23, "clear the pause", clearPause},
    {24, "1 ms timer resolution", raiseTimerResolution},
    {25, "arrow cursor", showArrowCursor},
    {26, "timers to now again", startTimers},
    {27, "hidden show command hides the window", hideIfAsked},
    {28, "mouse pointer setting", nullptr},
    {29, "\"Init OK\" on standard output", reportReady},
};

} // namespace

int initEngine(const StrValue& title, int showCommand) {
    if (openGLKestrel) return 0;  // already started
    const StartupRequest request{title, showCommand};
    for (const StartupStep& step : startupSteps) {
        if (step.run && !step.run(request)) break;
    }
    return 0;
}

StrValue getCommandLine() { return commandLine; }

NumValue getWindowHandle() { return NumValue(mainWindow); }

} // namespace tarvoke
