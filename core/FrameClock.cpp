// The engine's clock, the frame slots, and the timer commands.
#include "core/FrameClock.h"
#include <cmath>
#include "platform/Clock.h"

namespace tarvoke {

NumValue timerBase = 0;
NumValue frameTime = 0;
NumValue previousFrameTime = 0;

FrameClock::FrameClock() {
    const std::uint64_t frequency = platform::counterFrequency();
    useCounter = frequency > 0;
    counterFrequency = double(frequency);
    nextFrameTime = now();
}

double FrameClock::now() const {
    if (useCounter) return double(platform::counterValue()) * 1000.0 / counterFrequency;
    return double(platform::tickMilliseconds());
}

void FrameClock::start(int frameRate) {
    setFrameRate(frameRate);
    nextFrameTime = now();
}

void FrameClock::setFrameRate(int framesPerSecond) {
    framePeriod = framesPerSecond > 0 ? 1000.0 / framesPerSecond : 2.0;
}

double FrameClock::nextFrameSlot(double next, double period, double t) {
    next += period;
    if (period > 0) {
        while (next < t) next += period;
    }
    return next;
}

FrameClock& frameClock() {
    static FrameClock clock;
    return clock;
}

NumValue getTimerAll() { return now() - timerBase; }

NumValue getTimer() {
    const NumValue duration = frameTime - previousFrameTime;
    return duration > 0 ? duration : 1;
}

void sleepMs(NumValue milliseconds) {
    // Negative and NaN durations sleep not at all instead of wrapping to weeks.
    if (!(milliseconds >= 1)) return;
    const double capped = std::fmin(std::trunc(milliseconds), 2147483647.0);
    platform::sleepMilliseconds(int(capped));
}

void setFrameRate(NumValue framesPerSecond) { frameClock().setFrameRate(toInt(framesPerSecond)); }

} // namespace tarvoke
