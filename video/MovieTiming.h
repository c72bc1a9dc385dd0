// The arithmetic of playing a movie, free of files and devices: where the picture goes in the
// window, and the clock that follows the sound the output has played.
#pragma once
#include <cstdint>

namespace tarvoke {

struct MovieRect {
    int x = 0, y = 0;            // top-left corner in window pixels, y down
    int width = 0, height = 0;
};

// The largest rectangle of the movie's shape that fits the client area, centred in it.
MovieRect fitMovie(int clientWidth, int clientHeight, double movieWidth, double movieHeight);

// Seconds of sound played, from the count of frames the output has taken. The output takes a
// block at a time and plays it over the following block's time, so between two takes the
// position moves on with the wall clock, up to the end of the block taken last; when no new
// block comes (the sound ran dry) it waits there. Never goes backwards.
class SoundClock {
public:
    explicit SoundClock(int rate) : rate_(rate) {}
    double at(std::uint64_t playedFrames, double wallSeconds);

private:
    int rate_;
    std::uint64_t played_ = 0;   // frames taken at the last change
    std::uint64_t block_ = 0;    // frames that change took
    double changedAt_ = 0;       // wall seconds when it was seen
    double last_ = 0;
};

} // namespace tarvoke
