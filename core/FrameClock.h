// FrameClock: the engine's clock and the frame limiter's grid of frame slots. The clock reads
// the high-resolution counter when the system has one, else the coarse millisecond clock; it
// works before start-up and after shutdown too, so readings always compare.
#pragma once
#include "tarvoke/core.h"

namespace tarvoke {

class FrameClock {
public:
    FrameClock();                    // asks the counter's frequency; the grid starts now

    double now() const;              // absolute milliseconds
    void start(int frameRate);       // the period from the frame rate; the next slot is now
    void setFrameRate(int framesPerSecond);  // 0 or less: one frame every 2 ms
    // Moves the next slot past `t`, skipping missed slots.
    void advancePast(double t) { nextFrameTime = nextFrameSlot(nextFrameTime, framePeriod, t); }

    // The slot after `next` that lies at or after `t`: missed slots are skipped, never caught up.
    static double nextFrameSlot(double next, double period, double t);

    bool useCounter = false;         // the high-resolution counter is usable
    double counterFrequency = 0.0;   // its counts per second
    double framePeriod = 0.0;        // milliseconds between frame slots
    double nextFrameTime = 0.0;      // absolute milliseconds of the next slot
};

FrameClock& frameClock();            // the engine's one clock
inline double now() { return frameClock().now(); }

// ---- timer registers, absolute milliseconds
extern NumValue timerBase;           // getTimerAll counts from here
extern NumValue frameTime;           // when the current frame began
extern NumValue previousFrameTime;   // when the frame before began

} // namespace tarvoke
