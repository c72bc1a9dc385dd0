// Sound slots and voices on a real audio device (SDL's dummy driver plays in real time), and the
// silent run without one.
#include <gtest/gtest.h>
#include <cmath>
#include <cstdlib>
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
    StrValue wav(const std::string& name, int milliseconds) {
        test::writeFile(temp.file(name), test::constantWav(milliseconds, 8000));
        return temp.file(name).c_str();
    }
    static std::uint64_t positionOf(int id, int voice) {
        const std::lock_guard<std::mutex> hold(soundDevice->voiceLock);
        return soundDevice->slots[id].voices[voice].position;
    }
};

TEST_F(SoundSlots, VoicesAreChosenHandedOutAndEndByThemselves) {
    test::EngineRun engine;
    ASSERT_TRUE(soundDevice && soundDevice->hasOutput);
    ASSERT_EQ(loadSound(wav("short.wav", 60), 5, 1), 1);
    const NumValue handle = playSound(5, 0, 1);
    EXPECT_EQ(handle, 5 * 256);
    EXPECT_EQ(playSound(5, 0, 1), -1) << "a playing one-voice sound is not restarted";
    EXPECT_EQ(isSoundPlaying(handle), 1);
    const double deadline = now() + 2000;
    while (isSoundPlaying(handle) && now() < deadline) platform::sleepMilliseconds(5);
    EXPECT_EQ(isSoundPlaying(handle), 0) << "it stops by itself at its end";
    EXPECT_EQ(positionOf(5, 0), 0u) << "rewound";
    EXPECT_EQ(playSound(5, 0, 1), handle) << "and plays again";

    ASSERT_EQ(loadSound(wav("long.wav", 2000), 200, 9), 1);
    EXPECT_EQ(soundDevice->slots[127].voiceCount, 4) << "id 200 uses slot 127; voices clamp to 4";
    EXPECT_EQ(playSound(200, -1, 1), 127 * 256);
    const NumValue notPlaying[] = {-1, 127 * 256 + 3, 3 * 256, 128 * 256, 1e12, NAN};
    for (NumValue bad : notPlaying) EXPECT_EQ(isSoundPlaying(bad), 0) << bad;
    EXPECT_EQ(playSound(3, 0, 1), -1) << "an empty slot";
    EXPECT_EQ(playSound(-1, 0, 1), -1);
    stopAllSounds();
    EXPECT_EQ(isSoundPlaying(127 * 256), 0);

    test::writeFile(temp.file("bad.wav"), "RIFF....WAVEfmt ");
    EXPECT_EQ(loadSound(temp.file("bad.wav").c_str(), 5, 1), 0);
    EXPECT_EQ(playSound(5, 0, 1), -1) << "a failed load leaves the slot empty";
}

TEST_F(SoundSlots, TheFourthPlayOfAThreeVoiceSoundCutsTheOldest) {
    test::EngineRun engine;
    ASSERT_EQ(loadSound(wav("long.wav", 3000), 9, 3), 1);
    NumValue handles[4];
    for (NumValue& handle : handles) {
        handle = playSound(9, 0, 1);
        platform::sleepMilliseconds(100);  // several device blocks, so the positions differ
    }
    EXPECT_EQ(handles[0], 9 * 256 + 0);
    EXPECT_EQ(handles[1], 9 * 256 + 1);
    EXPECT_EQ(handles[2], 9 * 256 + 2);
    EXPECT_EQ(handles[3], 9 * 256 + 0);
    EXPECT_LT(positionOf(9, 0), positionOf(9, 2)) << "voice 0 started again from the beginning";
}

TEST_F(SoundSlots, WithoutADeviceTheGameRunsOnSilently) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    test::EngineRun engine;
    ASSERT_NE(soundDevice, nullptr);
    EXPECT_FALSE(soundDevice->hasOutput);
    EXPECT_EQ(loadSound(wav("a.wav", 100), 0, 1), 0);
    EXPECT_EQ(playSound(0, 0, 1), -1);
    playMusic(wav("m.wav", 100));
    EXPECT_FALSE(musicState().track);
    showScreen();
    EXPECT_NE(test::readFile(temp.file("ErrorLog.txt")).find("No sound device"), std::string::npos);
    setenv("SDL_AUDIODRIVER", "dummy", 1);  // the suite's own driver again
}

} // namespace
} // namespace tarvoke
