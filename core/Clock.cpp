// The engine's clock and the timer commands.
#include <cmath>
#include "core/Engine.h"
#include "graphics2d/OpenGLKestrel.h"

namespace tarvoke {

NumValue timerBase = 0;
NumValue frameTime = 0;
NumValue previousFrameTime = 0;

double now() {
    if (openGLKestrel) return openGLKestrel->now();
    // Before start-up and after shutdown: the same counter, so readings stay comparable.
    return double(platform::counterValue()) * 1000.0 / double(platform::counterFrequency());
}

double nextFrameSlot(double next, double period, double t) {
    next += period;
    if (period > 0) {
        while (next < t) next += period;
    }
    return next;
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

void setFrameRate(NumValue framesPerSecond) {
    if (!openGLKestrel) return;
    const IntValue fps = toInt(framesPerSecond);
    openGLKestrel->framePeriod = fps > 0 ? 1000.0 / fps : 2.0;
}

void setAutoPause(NumValue flag) { autoPause = isSet(flag); }

void allowEscape(NumValue flag) { escapeEndsProgram = isSet(flag); }

} // namespace tarvoke
