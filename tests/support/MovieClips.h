// Small movies made by the ffmpeg tool for the movie tests: a picture whose top half is red and
// bottom half green, and a 1000 Hz tone.
#pragma once
#include <cstdlib>
#include <string>

namespace tarvoke::test {

constexpr int clipToneHz = 1000;

// An MPEG-4 clip of the given size and length at 30 frames per second; false when ffmpeg failed.
inline bool makeClip(const std::string& path, int width, int height, double seconds = 1.0) {
    const std::string half = std::to_string(width) + "x" + std::to_string(height / 2);
    const std::string length = std::to_string(seconds);
    const std::string command =
        "env -u LD_PRELOAD ffmpeg -v error -y -f lavfi -i 'color=red:s=" + half + ":r=30:d=" + length +
        "[top];color=lime:s=" + half + ":r=30:d=" + length + "[bottom];[top][bottom]vstack' -f lavfi -i 'sine=frequency=" +
        std::to_string(clipToneHz) + ":sample_rate=44100:duration=" + length +
        "' -c:v mpeg4 -q:v 2 -pix_fmt yuv420p -c:a aac -shortest '" + path + "'";
    return std::system(command.c_str()) == 0;
}

} // namespace tarvoke::test
