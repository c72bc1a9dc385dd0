// The effect mixer's pure functions: volume and pan to hundredths of a decibel, gains, decoding
// and resampling of every source format, and saturating sums.
#include <gtest/gtest.h>
#include <cmath>
#include "sound/Mixer.h"

namespace tarvoke {
namespace {

TEST(Mixer, VolumeAndPanBecomeHundredthsOfADecibel) {
    const double volumes[][2] = {{1, 0}, {0.5, -5000}, {1.5, 0}, {0, -10000}, {-3, -10000}, {0.999, -100}, {NAN, -10000}};
    for (const auto& c : volumes) EXPECT_EQ(attenuationOfVolume(c[0]), c[1]) << c[0];
    const double pans[][2] = {{0, 0}, {-1, -10000}, {-2, -10000}, {2, 10000}, {0.25, 2500}, {-0.00019, -1}, {NAN, 0}};
    for (const auto& c : pans) EXPECT_EQ(balanceOfPan(c[0]), c[1]) << c[0];
}

TEST(Mixer, GainsFollowTheAttenuationAndTheBalanceCutsOneSide) {
    const double cases[][4] = {  // attenuation, balance, left gain, right gain
        {0, 0, 1, 1},         {-2000, 0, 0.1, 0.1},  {-600, 0, 0.501187, 0.501187},
        {-10000, 0, 0, 0},    {0, 10000, 0, 1},      {0, -10000, 1, 0},
        {0, 2000, 0.1, 1},    {-5000, -2000, std::pow(10, -2.5), std::pow(10, -3.5)},
        {-9000, 2000, 0, std::pow(10, -4.5)},  // the left side falls below silence
    };
    for (const auto& c : cases) {
        const ChannelGains gains = channelGains(int(c[0]), int(c[1]));
        EXPECT_NEAR(gains.left, c[2], 1e-6) << c[0] << " " << c[1];
        EXPECT_NEAR(gains.right, c[3], 1e-6) << c[0] << " " << c[1];
    }
}

TEST(Mixer, EverySourceFormatIsDecodedAndResampledToTheDeviceRate) {
    const struct { const char* what; PcmLayout layout; std::vector<std::uint8_t> bytes; std::vector<float> frames; } cases[] = {
        {"8-bit mono", {1, 8, 22050}, {192, 64, 128, 255}, {16384, 16384, -16384, -16384, 0, 0, 32512, 32512}},
        {"8-bit stereo", {2, 8, 22050}, {0, 255, 129, 127}, {-32768, 32512, 256, -256}},
        {"16-bit mono", {1, 16, 22050}, {0x10, 0x27, 0xF0, 0xD8}, {10000, 10000, -10000, -10000}},
        {"16-bit stereo", {2, 16, 22050}, {0xE8, 0x03, 0x18, 0xFC}, {1000, -1000}},
        // Half the device rate: every second frame lies halfway; the last frame holds.
        {"16-bit mono at 11025 Hz", {1, 16, 11025}, {0, 0, 0xE8, 0x03}, {0, 0, 500, 500, 1000, 1000, 1000, 1000}},
        {"8-bit stereo at 44100 Hz", {2, 8, 44100}, {138, 118, 0, 0, 148, 108, 0, 0}, {2560, -2560, 5120, -5120}},
    };
    for (const auto& c : cases) {
        SampleBuffer buffer;
        ASSERT_TRUE(decodeSamples(c.layout, c.bytes.data(), c.bytes.size(), buffer)) << c.what;
        Voice voice{&buffer, 0, resampleStep(c.layout.sampleRate, deviceSampleRate), {}, true};
        std::vector<float> mix(c.frames.size() + 8, 0.0f);
        mixVoice(voice, mix.data(), int(mix.size() / 2));
        EXPECT_EQ(std::vector<float>(mix.begin(), mix.begin() + c.frames.size()), c.frames) << c.what;
        EXPECT_EQ(std::vector<float>(mix.begin() + c.frames.size(), mix.end()), std::vector<float>(8)) << c.what;
        EXPECT_FALSE(voice.playing) << c.what << ": a voice stops at its end";
        EXPECT_EQ(voice.position, 0u) << c.what << ": and rewinds";
    }
    SampleBuffer buffer;
    const std::uint8_t bytes[8] = {};
    EXPECT_FALSE(decodeSamples({1, 24, 22050}, bytes, 8, buffer));
    EXPECT_FALSE(decodeSamples({2, 16, 22050}, bytes, 3, buffer)) << "no whole frame";
}

TEST(Mixer, VoicesAddUpAndSaturateInsteadOfWrappingAround) {
    SampleBuffer loud;
    loud.samples.assign(32, 30000);
    const std::uint64_t step = resampleStep(22050, deviceSampleRate);
    Voice voices[3] = {{&loud, 0, step, {}, true}, {&loud, 0, step, {}, true}, {&loud, 0, step, {-1.0f, 0.5f}, true}};
    std::vector<float> mix(2 * 8, 0.0f);
    for (Voice& voice : voices) mixVoice(voice, mix.data(), 8);
    EXPECT_FLOAT_EQ(mix[0], 30000.0f);
    EXPECT_FLOAT_EQ(mix[1], 75000.0f);
    EXPECT_EQ(voices[0].position, std::uint64_t(8) << 32) << "still playing, 8 frames on";
    std::vector<std::int16_t> frames(16, 0);
    frames[0] = 10000;  // music already in the block
    frames[2] = -20000;
    mix[2] = -30000.0f;
    addSaturated(frames.data(), mix.data(), 16);
    EXPECT_EQ(std::vector<std::int16_t>(frames.begin(), frames.begin() + 4), (std::vector<std::int16_t>{32767, 32767, -32768, 32767}));
}

} // namespace
} // namespace tarvoke
