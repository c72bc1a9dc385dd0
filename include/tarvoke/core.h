// The program's life: project settings, start-up, the frame loop and clock, ending, runtime
// errors and the error log. A game defines `tarvoke::gameInfo` and `tarvokeMain()`; the engine
// provides main(), starts up, runs tarvokeMain and ends the program when it returns.
#pragma once
#include "tarvoke/StrValue.h"
#include "tarvoke/scalars.h"

namespace tarvoke {

// ---------------------------------------------------------------- settings and start-up
struct ProjectSettings {
    IntValue screenWidth = 640;     // client width in pixels
    IntValue screenHeight = 480;    // client height in pixels
    IntValue fullScreen = 0;        // non-zero: start in full-screen mode
    IntValue multisampleCount = 0;  // samples per pixel asked for; 0 = none
    IntValue frameRate = 60;        // frames per second; 0 or less: one frame every 2 ms
    IntValue debugMode = 0;         // non-zero: runs under the development environment
    IntValue hideMousePointer = 0;  // non-zero: the system pointer is hidden
};

struct GameInfo {
    const char* title;              // the window's caption
    ProjectSettings settings;       // compiled into the game; never changed while it runs
};

extern const GameInfo gameInfo;            // defined by the game
extern ProjectSettings projectSettings;    // the settings in force, copied at entry
extern StrValue commandLine;               // the arguments after the program name
extern StrValue windowTitle;               // the title given to initEngine

int initEngine(const StrValue& title, int showCommand = 1);  // start-up; 0 always
StrValue getCommandLine();                 // a copy of the command line
NumValue getWindowHandle();                // the window system's id of the main window; 0 if none

// ---------------------------------------------------------------- frame loop and clock
void showScreen();                         // presents the frame, holds the frame rate, resets state
NumValue getTimer();                       // ms the last frame took; never below 1
NumValue getTimerAll();                    // ms since the end of start-up
void sleepMs(NumValue milliseconds);       // sleeps; negative or NaN sleeps not at all
void setFrameRate(NumValue framesPerSecond);  // 0 or less: one frame every 2 ms
void setAutoPause(NumValue flag);          // pause while the window is inactive (default on)
void allowEscape(NumValue flag);           // Escape ends the program (default on)

// ---------------------------------------------------------------- ending and errors
extern NumValue errorCode;                 // last runtime error recorded; 0 = none
extern NumValue errorLine;                 // currentLine when errorCode was recorded
extern NumValue currentLine;               // the source line reported last
extern NumValue debugTag;                  // a second value reported with currentLine

NumValue recordError(NumValue code);       // sets errorCode and errorLine; returns code
void setDebugPosition(NumValue tag, NumValue line);
void appendErrorLog(const StrValue& text); // one line (CR LF) to "ErrorLog.txt" in the temp dir
[[noreturn]] void endProgram();            // shuts down and exits with code 0
[[noreturn]] void endAndRun(const StrValue& commandLine);  // shuts down, starts a program, exits 0
void shutdownEngine();                     // releases every engine singleton; safe twice
void openConsole();                        // binds standard input and output to the terminal
void debugBreakpoint(NumValue value);      // with a debugger attached: "BP" + hex value to it

} // namespace tarvoke

void tarvokeMain();                        // the game's main routine
