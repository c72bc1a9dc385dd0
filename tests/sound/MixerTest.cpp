// The effect mixer's pure functions: volume and pan to hundredths of a decibel, gains, decoding
// and resampling of every source format, and saturating sums.
#include <gtest/gtest.h>
#include <cmath>
#include <limits>
#include "sound/Mixer.h"

namespace tarvoke {
namespace {

const double nan = std::numeric_limits<double>::quiet_NaN();

TEST(Mixer, VolumeAndPanBecomeHundredthsOfADecibel) {
    const struct { double volume; int attenuation; } volumes[] = {
        {1, 0}, {0.5, -5000}, {1.5, 0}, {0, -10000}, {-3, -10000}, {0.999, -100}, {0.011, -9900}, {nan, -10000},
    };
    for (const auto& c : volumes) EXPECT_EQ(attenuationOfVolume(c.volume), c.attenuation) << c.volume;
    const struct { double pan; int balance; } pans[] = {
        {0, 0}, {-1, -10000}, {-2, -10000}, {2, 10000}, {0.25, 2500}, {-0.00019, -1}, {nan, 0},
    };
    for (const auto& c : pans) EXPECT_EQ(balanceOfPan(c.pan), c.balance) << c.pan;
}

TEST(Mixer, GainsFollowTheAttenuationAndTheBalanceCutsOneSide) {
    const struct { int attenuation, balance; double left, right; } cases[] = {
        {0, 0, 1, 1},
        {-2000, 0, 0.1, 0.1},                      // 20 dB down
        {-600, 0, 0.501187, 0.501187},
        {-10000, 0, 0, 0},                         // silence, not a faint sound
        {0, 10000, 0, 1},                          // full right: the left channel is silent
        {0, -10000, 1, 0},
        {0, 2000, 0.1, 1},
        {-5000, -2000, 10e-3 / std::sqrt(10.0), 10e-3 / std::sqrt(10.0) * 0.1},
        {-9000, 2000, 0, std::pow(10.0, -4.5)},    // the left side drops below silence
    };
    for (const auto& c : cases) {
        const ChannelGains gains = channelGains(c.attenuation, c.balance);
        EXPECT_NEAR(gains.left, c.left, 1e-6) << c.attenuation << " " << c.balance;
        EXPECT_NEAR(gains.right, c.right, 1e-6) << c.attenuation << " " << c.balance;
    }
}

// Plays the whole buffer through one voice at full gain and returns the device frames.
std::vector<float> playThrough(const PcmLayout& layout, const std::vector<std::uint8_t>& bytes, Voice* out = nullptr) {
    SampleBuffer buffer;
    EXPECT_TRUE(decodeSamples(layout, bytes.data(), bytes.size(), buffer));
    Voice voice;
    voice.buffer = &buffer;
    voice.step = resampleStep(layout.sampleRate, deviceSampleRate);
    voice.playing = true;
    std::vector<float> mix(2 * 64, 0.0f);
    mixVoice(voice, mix.data(), 64);
    EXPECT_FALSE(voice.playing) << "a voice stops at its end";
    EXPECT_EQ(voice.position, 0u) << "and rewinds";
    if (out) *out = voice;
    while (!mix.empty() && mix[mix.size() - 1] == 0 && mix[mix.size() - 2] == 0) mix.resize(mix.size() - 2);
    return mix;
}

TEST(Mixer, EverySourceFormatIsDecodedAndResampledToTheDeviceRate) {
    const struct { const char* what; PcmLayout layout; std::vector<std::uint8_t> bytes; std::vector<float> frames; } cases[] = {
        {"8-bit mono", {1, 8, 22050}, {192, 64, 128, 255}, {16384, 16384, -16384, -16384, 0, 0, 32512, 32512}},
        {"8-bit stereo", {2, 8, 22050}, {0, 255, 129, 127}, {-32768, 32512, 256, -256}},
        {"16-bit mono", {1, 16, 22050}, {0x10, 0x27, 0xF0, 0xD8}, {10000, 10000, -10000, -10000}},
        {"16-bit stereo", {2, 16, 22050}, {0xE8, 0x03, 0x18, 0xFC}, {1000, -1000}},
        // Half the device rate: every second frame lies halfway; the last frame holds.
        {"16-bit mono at 11025 Hz", {1, 16, 11025}, {0, 0, 0xE8, 0x03}, {0, 0, 500, 500, 1000, 1000, 1000, 1000}},
        // Twice the device rate: every second source frame.
        {"8-bit stereo at 44100 Hz", {2, 8, 44100}, {138, 118, 0, 0, 148, 108, 0, 0}, {2560, -2560, 5120, -5120}},
    };
    for (const auto& c : cases) {
        const std::vector<float> mixed = playThrough(c.layout, c.bytes);
        EXPECT_EQ(mixed, c.frames) << c.what;
    }
}

TEST(Mixer, LayoutsItCannotPlayAndEmptyDataAreRefused) {
    const std::uint8_t bytes[8] = {};
    SampleBuffer buffer;
    EXPECT_FALSE(decodeSamples({3, 16, 22050}, bytes, 8, buffer));
    EXPECT_FALSE(decodeSamples({1, 24, 22050}, bytes, 8, buffer));
    EXPECT_FALSE(decodeSamples({2, 16, 22050}, bytes, 3, buffer)) << "no whole frame";
    ASSERT_TRUE(decodeSamples({2, 16, 22050}, bytes, 7, buffer));
    EXPECT_EQ(buffer.frameCount(), 1u) << "the partial frame is dropped";
}

TEST(Mixer, VoicesAddUpAndSaturateInsteadOfWrappingAround) {
    SampleBuffer loud;
    loud.samples.assign(32, 30000);
    Voice voices[3];
    for (Voice& voice : voices) {
        voice.buffer = &loud;
        voice.step = resampleStep(22050, deviceSampleRate);
        voice.playing = true;
    }
    voices[2].gains = {-1.0f, 0.5f};  // one voice pulling the other way on the left
    std::vector<float> mix(2 * 8, 0.0f);
    for (Voice& voice : voices) mixVoice(voice, mix.data(), 8);
    EXPECT_FLOAT_EQ(mix[0], 30000.0f);
    EXPECT_FLOAT_EQ(mix[1], 75000.0f);
    std::vector<std::int16_t> frames(16, 0);
    frames[0] = 10000;        // music already in the block
    frames[2] = -20000;
    mix[2] = -30000.0f;
    addSaturated(frames.data(), mix.data(), 16);
    EXPECT_EQ(frames[0], 32767);
    EXPECT_EQ(frames[1], 32767);
    EXPECT_EQ(frames[2], -32768);
    EXPECT_EQ(voices[0].position, std::uint64_t(8) << 32) << "still playing, 8 frames on";
}

} // namespace
} // namespace tarvoke
