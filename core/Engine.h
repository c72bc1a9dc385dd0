// Engine-internal state and operations of the program's life (start-up, frame loop, clock,
// window messages). Game code reaches these only through the commands of tarvoke/core.h.
#pragma once
#include <cstdint>
#include "platform/Platform.h"
#include "tarvoke/core.h"

namespace tarvoke {

// ---- start-up state
extern bool autoPause;                 // the window's deactivation pauses the program
extern bool paused;                    // the program waits inside showScreen
extern bool escapeEndsProgram;         // Escape ends the program in showScreen
extern std::uint32_t mainWindow;       // the window system's id of the current main window
extern int currentFont;                // the font slot text is printed with

// ---- timer registers, absolute milliseconds
extern NumValue timerBase;             // getTimerAll counts from here
extern NumValue frameTime;             // when the current frame began
extern NumValue previousFrameTime;     // when the frame before began

double now();                          // absolute milliseconds of the engine's clock
// The slot after `next` that lies at or after `t`: missed slots are skipped, never caught up.
double nextFrameSlot(double next, double period, double t);

// ---- frame loop
int pumpMessages();                    // dispatches every pending window message; 1
NumValue presentFrame();               // swaps, clears, waits for the slot; ms waited + 1
void handleWindowEvent(const platform::WindowEvent& event);  // the window procedure

// ---- developer capture of a frame (run.sh --frames N --screenshot FILE)
void armFrameCapture(int frameCount, const std::string& pngPath);
bool captureFrameIfDue();              // before the swap; true when the program should end now

} // namespace tarvoke
