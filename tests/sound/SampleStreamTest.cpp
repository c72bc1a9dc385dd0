// The sample stream's ring: what the writer queues comes out once, in order, across the wrap;
// an empty ring adds nothing and its played count waits.
#include <gtest/gtest.h>
#include <vector>
#include "sound/SampleStream.h"

namespace tarvoke {
namespace {

std::vector<std::int16_t> framesFrom(int first, int count) {
    std::vector<std::int16_t> frames;
    for (int i = first; i < first + count; ++i) frames.insert(frames.end(), {std::int16_t(i), std::int16_t(-i)});
    return frames;
}

TEST(SampleStream, FramesComeOutOnceInOrderAcrossTheWrapAndTheCountWaitsWhenEmpty) {
    SampleStream stream(4);
    const struct { int first, write, taken, mix; std::vector<float> heard; std::uint64_t played; std::size_t room; } steps[] = {
        {1, 6, 4, 3, {1, -1, 2, -2, 3, -3}, 3, 3},                 // a full ring takes no more
        {7, 3, 3, 5, {4, -4, 7, -7, 8, -8, 9, -9, 0, 0}, 7, 4},    // the rest, wrapped; then nothing
        {0, 0, 0, 2, {0, 0, 0, 0}, 7, 4},                          // empty: silence, the count waits
    };
    for (const auto& step : steps) {
        const std::vector<std::int16_t> frames = framesFrom(step.first, step.write);
        EXPECT_EQ(writeStream(stream, frames.data(), std::size_t(step.write)), std::size_t(step.taken));
        std::vector<float> mix(2 * std::size_t(step.mix), 0.0f);
        mixStream(stream, mix.data(), step.mix);
        EXPECT_EQ(mix, step.heard);
        EXPECT_EQ(stream.played.load(), step.played);
        EXPECT_EQ(streamRoom(stream), step.room);
    }
}

} // namespace
} // namespace tarvoke
