// Music through the media library on SDL's dummy driver: looping on the engine clock, the
// volume, and files that are not there.
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
    ASSERT_TRUE(musicState().track);
    EXPECT_NEAR(musicState().lengthMs, 100, 1);
    EXPECT_NEAR(musicState().endTime - start, 500, 5);
    // Frames until just past the second restart; the library plays the clip once each time.
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
    ASSERT_EQ(silences.size(), 2u) << "the clip ended, and was not looped by the library";
    EXPECT_LT(silences[0], 450);
    EXPECT_GT(silences[1], restarts[0]);
    EXPECT_LT(silences[1], restarts[1]);
}

TEST(Music, TheVolumeStartsAtOneAndChangesOnlyWhenItDiffers) {
    test::ScopedTempDir temp;
    test::writeFile(temp.file("long.wav"), test::constantWav(700, 4000));
    test::EngineRun engine;
    playMusic(temp.file("long.wav").c_str());
    setMusicVolume(0.25);
    EXPECT_NEAR(platform::musicLevel(), 250, 8);
    playMusic(temp.file("long.wav").c_str());  // a new track starts at full volume
    EXPECT_NEAR(musicState().lengthMs, 700, 1) << "a clip over 500 ms loops at its own length";
    EXPECT_NEAR(musicState().endTime - now(), 700, 20);
    EXPECT_EQ(musicState().volume, 1);
    EXPECT_EQ(platform::musicLevel(), 1000);
    setMusicVolume(1);
    EXPECT_EQ(platform::musicLevel(), 1000);
    setMusicVolume(0.5);
    EXPECT_NEAR(platform::musicLevel(), 500, 8);
    EXPECT_TRUE(platform::isMusicPlaying());
    stopMusic();
    EXPECT_FALSE(platform::isMusicPlaying());
    EXPECT_EQ(musicState().volume, -1);
    EXPECT_EQ(musicState().endTime, 0);
}

TEST(Music, AMissingOrUndecodableFileLeavesNoMusic) {
    test::ScopedTempDir temp;
    test::writeFile(temp.file("clip.wav"), test::constantWav(100, 4000));
    test::writeFile(temp.file("noise.ogg"), std::string(5000, '\x5A'));
    test::EngineRun engine;
    playMusic(temp.file("clip.wav").c_str());
    ASSERT_TRUE(platform::isMusicPlaying());
    playMusic(temp.file("missing.ogg").c_str());
    EXPECT_FALSE(musicState().track);
    EXPECT_FALSE(platform::isMusicPlaying()) << "the earlier music stopped";
    playMusic(temp.file("noise.ogg").c_str());
    EXPECT_FALSE(musicState().track);
    EXPECT_EQ(musicState().endTime, 0);
    showScreen();
}

} // namespace
} // namespace tarvoke
