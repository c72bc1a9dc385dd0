// The engine's core: the program's life (start-up, the frame loop, window messages, ending).
// Game code reaches it only through the commands of tarvoke/core.h. Core drives the subsystems
// through their own headers (graphics2d/Graphics2D.h, input/Input.h, ...) and touches none of
// their state.
#pragma once
#include <cstdint>
#include <string>
#include "core/FrameClock.h"
#include "core/MessagePump.h"
#include "platform/Events.h"
#include "tarvoke/core.h"

namespace tarvoke {

// ---- start-up state
extern bool autoPause;                 // the window's deactivation pauses the program
extern bool paused;                    // the program waits inside showScreen
extern bool escapeEndsProgram;         // Escape ends the program in showScreen
extern std::uint32_t mainWindow;       // the window system's id of the current main window

// ---- frame loop
NumValue presentFrame();               // swaps, clears, waits for the slot; ms waited + 1
void handleWindowEvent(const platform::Event& event);  // the window procedure

// ---- developer capture of a frame (run.sh --frames N --screenshot FILE)
void armFrameCapture(int frameCount, const std::string& pngPath);
bool captureFrameIfDue();              // before the swap; true when the program should end now

} // namespace tarvoke
