// Platform contract, clock: the high-resolution counter, the coarse millisecond clock and sleeps.
#pragma once
#include <cstdint>

namespace tarvoke::platform {

std::uint64_t counterFrequency();          // counts per second of the high-resolution counter; 0 if none
std::uint64_t counterValue();              // the monotonic high-resolution counter
std::uint32_t tickMilliseconds();          // the coarse millisecond clock (fallback)
void sleepMilliseconds(int milliseconds);  // at least that long; <= 0 yields the processor
void sleepMicroseconds(int microseconds);
void beginTimerResolution();               // ask for 1 ms timer resolution (no-op where always fine)
void endTimerResolution();                 // ends it; nothing when it is not raised

} // namespace tarvoke::platform
