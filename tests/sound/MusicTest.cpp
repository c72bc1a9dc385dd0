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
    std::vector<double> restarts, silences;
    bool wasPlaying = true;
    double endTime = musicState().endTime;
    while (now() - start < 1100) {
        showScreen();
        const bool playing = platform::isMusicPlaying();
        if (!playing && wasPlaying) silences.push_back(now() - start);
        if (musicState().endTime != endTime) restarts.push_back(now() - start);
        endTime = musicState().endTime;
        wasPlaying = playing;
    }
    ASSERT_EQ(restarts.size(), 2u);
    EXPECT_GE(restarts[0], 500);
    EXPECT_LT(restarts[0], 560);
    EXPECT_GE(restarts[1], 1000);
    EXPECT_LT(restarts[1], 1060);
    ASSERT_EQ(silences.size(), 2u) << "the library played the clip once each time";
    EXPECT_LT(silences[0], 450);
    EXPECT_GT(silences[1], restarts[0]);
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
