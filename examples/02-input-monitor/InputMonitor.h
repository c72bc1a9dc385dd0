// The input monitor's frame: what the keyboard, the mouse and the joysticks report, drawn with
// engine commands only. The layout is public so that a test can find the joystick panels.
#pragma once
#include <tarvoke.h>

namespace inputMonitor {

constexpr int panelTop = 130;         // the first joystick's panel
constexpr int panelHeight = 80;       // four panels fit on a 640 x 480 screen
constexpr int panelsShown = 4;
constexpr int barLeft = 40, barTop = 20, barStep = 9, barWidth = 128, barHeight = 6;
constexpr int hatLeft = 200, hatTop = 24, hatStep = 14, cellSize = 12;
constexpr int buttonLeft = 260, buttonTop = 24, buttonStep = 14;  // joystick 0's buttons 1 and 2

constexpr tarvoke::NumValue dark = 0x303030, green = 0x00C000, yellow = 0x00FFFF, white = 0xFFFFFF;

struct Monitor {
    tarvoke::StrValue typed;          // the characters typed lately
    tarvoke::NumValue wheel = 0;      // wheel steps counted up and down
};

void drawFrame(Monitor& monitor);     // reads every device once and draws the frame

} // namespace inputMonitor
