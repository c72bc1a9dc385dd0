// What reaches the device: SDL's disk driver writes the mixed output to a file, which is read
// back frame by frame.
#include <gtest/gtest.h>
#include <cstdlib>
#include <cstring>
#include <map>
#include "core/FrameClock.h"
#include "platform/Clock.h"
#include "support/TestSupport.h"
#include "support/WavFiles.h"

namespace tarvoke {
namespace {

// Plays the sound to its end, then lets one more device block pass.
void playToTheEnd(NumValue id, NumValue pan, NumValue volume) {
    const NumValue handle = playSound(id, pan, volume);
    ASSERT_GE(handle, 0);
    const double deadline = now() + 2000;
    while (isSoundPlaying(handle) && now() < deadline) platform::sleepMilliseconds(5);
    platform::sleepMilliseconds(60);
}

TEST(SoundOutput, APlayedSoundReachesEachChannelAtItsLevel) {
    test::ScopedTempDir temp;
    const std::string output = temp.file("out.pcm");
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
    test::writeFile(temp.file("level.wav"), test::constantWav(100, 10000));
    {
        test::EngineRun engine;
        ASSERT_EQ(loadSound(temp.file("level.wav").c_str(), 0, 1), 1);
        playToTheEnd(0, -1, 1);
        playToTheEnd(0, 0, 1);
        playToTheEnd(0, 1, 1);
        playToTheEnd(0, 0, 0.5);  // 50 dB down
    }
    const std::string bytes = test::readFile(output);
    std::map<std::pair<int, int>, int> framesAt;  // (left, right) -> frames
    for (std::size_t at = 0; at + 4 <= bytes.size(); at += 4) {
        std::int16_t frame[2];
        std::memcpy(frame, bytes.data() + at, 4);
        ++framesAt[{frame[0], frame[1]}];
    }
    const struct { int left, right; const char* what; } levels[] = {
        {10000, 0, "pan -1: the right channel is silent"},
        {10000, 10000, "pan 0"},
        {0, 10000, "pan 1: the left channel is silent"},
        {32, 32, "volume 0.5: 10000 at -50 dB"},
    };
    for (const auto& level : levels) EXPECT_EQ(framesAt[std::make_pair(level.left, level.right)], 2205) << level.what;
    EXPECT_EQ(framesAt.size(), 5u) << "nothing but those and silence";
}

} // namespace
} // namespace tarvoke
