// What reaches the device: SDL's disk driver writes the mixed output to a file, read back here.
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

TEST(SoundOutput, APlayedSoundReachesEachChannelAtItsLevel) {
    test::ScopedTempDir temp;
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", temp.file("out.pcm").c_str(), 1);
    test::writeFile(temp.file("level.wav"), test::constantWav(100, 10000));
    const struct { NumValue pan, volume; int left, right; } plays[] = {
        {-1, 1, 10000, 0}, {0, 1, 10000, 10000}, {1, 1, 0, 10000}, {0, 0.5, 32, 32},  // 0.5: -50 dB
    };
    {
        test::EngineRun engine;
        ASSERT_EQ(loadSound(temp.file("level.wav").c_str(), 0, 1), 1);
        for (const auto& play : plays) {
            const NumValue handle = playSound(0, play.pan, play.volume);
            const double deadline = now() + 2000;
            while (isSoundPlaying(handle) && now() < deadline) platform::sleepMilliseconds(5);
        }
        platform::sleepMilliseconds(60);  // the last block reaches the file
    }
    setenv("SDL_AUDIODRIVER", "dummy", 1);  // the suite's own driver again
    const std::string bytes = test::readFile(temp.file("out.pcm"));
    std::map<std::pair<int, int>, int> framesAt;  // (left, right) -> how many frames
    for (std::size_t at = 0; at + 4 <= bytes.size(); at += 4) {
        std::int16_t frame[2];
        std::memcpy(frame, bytes.data() + at, 4);
        ++framesAt[{frame[0], frame[1]}];
    }
    for (const auto& play : plays)
        EXPECT_EQ((framesAt[{play.left, play.right}]), 2205) << "pan " << play.pan << ", volume " << play.volume;
    EXPECT_EQ(framesAt.size(), 5u) << "nothing but those levels and silence";
}

} // namespace
} // namespace tarvoke
