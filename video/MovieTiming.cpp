#include "video/MovieTiming.h"
#include <algorithm>
#include <cmath>

namespace tarvoke {

MovieRect fitMovie(int clientWidth, int clientHeight, double movieWidth, double movieHeight) {
    if (clientWidth <= 0 || clientHeight <= 0 || !(movieWidth > 0) || !(movieHeight > 0)) return {};
    const double scale = std::min(clientHeight / movieHeight, clientWidth / movieWidth);
    MovieRect rect;
    rect.width = std::clamp(int(std::lround(movieWidth * scale)), 0, clientWidth);
    rect.height = std::clamp(int(std::lround(movieHeight * scale)), 0, clientHeight);
    rect.x = (clientWidth - rect.width) / 2;
    rect.y = (clientHeight - rect.height) / 2;
    return rect;
}

double SoundClock::at(std::uint64_t playedFrames, double wallSeconds) {
    if (playedFrames != played_) {
        block_ = playedFrames - played_;
        played_ = playedFrames;
        changedAt_ = wallSeconds;
    }
    const double into = std::clamp((wallSeconds - changedAt_) * rate_, 0.0, double(block_));
    last_ = std::max(last_, (double(played_ - block_) + into) / rate_);
    return last_;
}

} // namespace tarvoke
