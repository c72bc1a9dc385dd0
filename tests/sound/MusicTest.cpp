// Music through the media library on SDL's dummy driver: looping on the engine clock, and the
// volume.
#include <gtest/gtest.h>
#include <vector>
#include "core/FrameClock.h"
#include "platform/Audio.h"
#include "sound/Music.h"
#include "support/TestSupport.h"
#include "support/WavFiles.h"

namespace tarvoke {
namespace {

TEST(Music, AShortClipStartsAgainEvery500MsOnTheEngineClock) {
    test::ScopedTempDir temp;
    test::writeFile(temp.file("clip.wav"), test::constantWav(100, 4000));
    test::EngineRun engine;
    playMusic(temp.file("clip.wav").c_str());
    const double start = now();
    EXPECT_NEAR(musicState().lengthMs, 100, 1);
    EXPECT_NEAR(musicState().endTime - start, 500, 5);
    std::vector<double> ends = {musicState().endTime}, silences;
    bool wasPlaying = true;
    while (now() - start < 1150) {
        showScreen();
        const bool playing = platform::isMusicPlaying();
        if (!playing && wasPlaying) silences.push_back(now() - start);
        if (musicState().endTime != ends.back()) ends.push_back(musicState().endTime);
        wasPlaying = playing;
    }
    ASSERT_EQ(ends.size(), 3u) << "two restarts";
    for (std::size_t k = 1; k < ends.size(); ++k) {
        EXPECT_GE(ends[k] - ends[k - 1], 500) << "never before the end time";
        EXPECT_LT(ends[k] - ends[k - 1], 600) << "but within a frame or so of it";
    }
    ASSERT_GE(silences.size(), 2u) << "the library played the clip once each time";
    EXPECT_LT(silences[0], ends[0] - start);
    EXPECT_GT(silences[1], ends[0] - start);
    EXPECT_LT(silences[1], ends[1] - start);
}

TEST(Music, ANewTrackStartsAtFullVolumeAndTheVolumeChangesOnlyWhenItDiffers) {
    test::ScopedTempDir temp;
    test::writeFile(temp.file("long.wav"), test::constantWav(700, 4000));
    test::EngineRun engine;
    playMusic(temp.file("long.wav").c_str());
    setMusicVolume(0.25);
    EXPECT_NEAR(platform::musicLevel(), 250, 8);
    playMusic(temp.file("long.wav").c_str());
    EXPECT_NEAR(musicState().endTime - now(), 700, 20) << "over 500 ms it loops at its own length";
    EXPECT_EQ(musicState().volume, 1);
    EXPECT_EQ(platform::musicLevel(), 1000);
    setMusicVolume(1);
    EXPECT_EQ(platform::musicLevel(), 1000);
    playMusic(temp.file("missing.ogg").c_str());
    EXPECT_FALSE(platform::isMusicPlaying()) << "a missing file stops the old music and plays none";
    EXPECT_EQ(musicState().endTime, 0);
}

} // namespace
} // namespace tarvoke
