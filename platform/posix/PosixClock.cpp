// The clock on POSIX: CLOCK_MONOTONIC in nanoseconds stands in for the performance counter.
#include <ctime>
#include <cerrno>
#include "platform/Clock.h"

namespace tarvoke::platform {

std::uint64_t counterFrequency() { return 1000000000ull; }

std::uint64_t counterValue() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::uint64_t(now.tv_sec) * 1000000000ull + std::uint64_t(now.tv_nsec);
}

std::uint32_t tickMilliseconds() { return std::uint32_t(counterValue() / 1000000ull); }

void sleepMicroseconds(int microseconds) {
    if (microseconds <= 0) {
        timespec zero{0, 0};
        nanosleep(&zero, nullptr);
        return;
    }
    timespec wait{microseconds / 1000000, long(microseconds % 1000000) * 1000};
    while (nanosleep(&wait, &wait) == -1 && errno == EINTR) {
    }
}

void sleepMilliseconds(int milliseconds) {
    if (milliseconds <= 0) {
        sleepMicroseconds(0);
        return;
    }
    timespec wait{milliseconds / 1000, long(milliseconds % 1000) * 1000000};
    while (nanosleep(&wait, &wait) == -1 && errno == EINTR) {
    }
}

// Linux timers are already fine-grained; nothing to raise or release.
void beginTimerResolution() {}
void endTimerResolution() {}

} // namespace tarvoke::platform
