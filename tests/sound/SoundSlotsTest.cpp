// Sound slots and voices on a real audio device (SDL's dummy driver plays in real time), and the
// silent run without one.
#include <gtest/gtest.h>
#include <cmath>
#include <cstdlib>
#include <mutex>
#include "core/FrameClock.h"
#include "platform/Clock.h"
#include "sound/Music.h"
#include "sound/SoundDevice.h"
#include "support/TestSupport.h"
#include "support/WavFiles.h"

namespace tarvoke {
namespace {

class SoundSlots : public testing::Test {
protected:
    test::ScopedTempDir temp;
    std::string wav(const std::string& name, int milliseconds) {
        test::writeFile(temp.file(name), test::constantWav(milliseconds, 8000));
        return temp.file(name);
    }
    static std::uint64_t positionOf(int id, int voice) {
        const std::lock_guard<std::mutex> hold(soundDevice->voiceLock);
        return soundDevice->slots[id].voices[voice].position;
    }
};

TEST_F(SoundSlots, APlayingOneVoiceSoundIsNotRestarted) {
    test::EngineRun engine;
    ASSERT_TRUE(soundDevice && soundDevice->hasOutput);
    ASSERT_EQ(loadSound(wav("long.wav", 2000).c_str(), 5, 1), 1);
    EXPECT_EQ(playSound(5, 0, 1), 5 * 256);
    EXPECT_EQ(playSound(5, 0, 1), -1);
    EXPECT_EQ(isSoundPlaying(5 * 256), 1);
}

TEST_F(SoundSlots, TheFourthPlayOfAThreeVoiceSoundCutsTheOldest) {
    test::EngineRun engine;
    ASSERT_EQ(loadSound(wav("long.wav", 3000).c_str(), 9, 3), 1);
    NumValue handles[4];
    for (NumValue& handle : handles) {
        handle = playSound(9, 0, 1);
        platform::sleepMilliseconds(100);  // several device blocks, so positions differ
    }
    EXPECT_EQ(handles[0], 9 * 256 + 0);
    EXPECT_EQ(handles[1], 9 * 256 + 1);
    EXPECT_EQ(handles[2], 9 * 256 + 2);
    EXPECT_EQ(handles[3], 9 * 256 + 0);
    for (int voice = 0; voice < 3; ++voice) EXPECT_EQ(isSoundPlaying(9 * 256 + voice), 1) << voice;
    EXPECT_LT(positionOf(9, 0), positionOf(9, 2)) << "voice 0 started again from the beginning";
}

TEST_F(SoundSlots, IdsAboveTheTableUseTheLastSlotAndBadHandlesAreNotPlaying) {
    test::EngineRun engine;
    ASSERT_EQ(loadSound(wav("a.wav", 1000).c_str(), 200, 2), 1);
    EXPECT_EQ(soundDevice->slots[127].voiceCount, 2);
    EXPECT_EQ(playSound(127, -1, 1), 127 * 256);
    EXPECT_EQ(playSound(200, 1, 1), 127 * 256 + 1);
    const NumValue notPlaying[] = {-1, 127 * 256 + 2, 3 * 256, 128 * 256, 1e12, std::nan("")};
    for (NumValue handle : notPlaying) EXPECT_EQ(isSoundPlaying(handle), 0) << handle;
    EXPECT_EQ(playSound(3, 0, 1), -1) << "an empty slot";
    EXPECT_EQ(playSound(-1, 0, 1), -1);
    EXPECT_EQ(loadSound(wav("b.wav", 100).c_str(), -4, 1), 0);
}

TEST_F(SoundSlots, AVoiceStopsByItselfAtItsEndAndStopAllStopsTheRest) {
    test::EngineRun engine;
    ASSERT_EQ(loadSound(wav("short.wav", 60).c_str(), 1, 1), 1);
    ASSERT_EQ(loadSound(wav("long.wav", 3000).c_str(), 2, 4), 1);
    const NumValue shortOne = playSound(1, 0, 1), longOne = playSound(2, 0, 0.5);
    EXPECT_EQ(isSoundPlaying(shortOne), 1);
    const double deadline = now() + 2000;
    while (isSoundPlaying(shortOne) && now() < deadline) platform::sleepMilliseconds(5);
    EXPECT_EQ(isSoundPlaying(shortOne), 0);
    EXPECT_EQ(positionOf(1, 0), 0u) << "rewound at its end";
    EXPECT_EQ(playSound(1, 0, 1), shortOne) << "and plays again";
    EXPECT_EQ(isSoundPlaying(longOne), 1);
    stopAllSounds();
    EXPECT_EQ(isSoundPlaying(longOne), 0);
    EXPECT_EQ(isSoundPlaying(shortOne), 0);
    EXPECT_EQ(positionOf(2, 0), 0u);
}

TEST_F(SoundSlots, LoadingReplacesTheSlotAndAFailedLoadLeavesItEmpty) {
    test::EngineRun engine;
    ASSERT_EQ(loadSound(wav("a.wav", 1000).c_str(), 4, 2), 1);
    EXPECT_GE(playSound(4, 0, 1), 0);
    test::writeFile(temp.file("bad.wav"), "RIFF....WAVEfmt ");
    EXPECT_EQ(loadSound(temp.file("bad.wav").c_str(), 4, 2), 0);
    EXPECT_EQ(soundDevice->slots[4].voiceCount, 0);
    EXPECT_EQ(playSound(4, 0, 1), -1);
    EXPECT_EQ(isSoundPlaying(4 * 256), 0);
    EXPECT_EQ(loadSound("missing.wav", 4, 9), 0);
    ASSERT_EQ(loadSound(wav("b.wav", 1000).c_str(), 4, 9), 1);
    EXPECT_EQ(soundDevice->slots[4].voiceCount, 4) << "voices clamped to 4";
}

// Without an audio device the game runs on silently.
TEST_F(SoundSlots, WithoutADeviceEverythingAnswersSilently) {
    const char* previous = std::getenv("SDL_AUDIODRIVER");
    const std::string saved = previous ? previous : "";
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    {
        test::EngineRun engine;
        ASSERT_NE(soundDevice, nullptr);
        EXPECT_FALSE(soundDevice->hasOutput);
        EXPECT_EQ(loadSound(wav("a.wav", 100).c_str(), 0, 1), 0);
        EXPECT_EQ(playSound(0, 0, 1), -1);
        EXPECT_EQ(isSoundPlaying(0), 0);
        stopAllSounds();
        playMusic(wav("m.wav", 100).c_str());
        EXPECT_FALSE(musicState().track);
        setMusicVolume(0.5);
        showScreen();
        EXPECT_NE(test::readFile(temp.file("ErrorLog.txt")).find("No sound device"), std::string::npos);
    }
    setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
}

} // namespace
} // namespace tarvoke
