// The effect mixer: sample buffers decoded once at load, voices that play a buffer once from
// their position, and the pure functions that turn volume and pan into gains and add voices,
// resampled to the device rate, into the output.
//
// Thread rule. mixVoice and addSaturated run on the audio thread (the device's hook, see
// SoundDevice.cpp). There they read a voice's buffer, step and gains and write only its
// position and playing flag; they never allocate, never block, and never free anything. The
// main thread changes a voice only while it holds the device's voice lock, and takes a voice
// out (buffer null, not playing) under that lock before it frees or replaces the buffer.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>
#include "tarvoke/scalars.h"

namespace tarvoke {

constexpr int deviceSampleRate = 22050;     // the output: 22050 Hz, stereo, 16-bit
constexpr int silentAttenuation = -10000;   // hundredths of a decibel; this or below is silence
constexpr int fullBalance = 10000;          // a pan of 1 or -1 in hundredths of a decibel

// A sound's samples: 16-bit signed, interleaved when stereo, at the file's own rate.
struct SampleBuffer {
    std::vector<std::int16_t> samples;
    int channels = 1;                       // 1 or 2
    int sampleRate = deviceSampleRate;
    std::size_t frameCount() const { return samples.size() / std::size_t(channels); }
};

// The PCM layout a file describes; decodeSamples accepts 8-bit unsigned and 16-bit signed
// little-endian samples, 1 or 2 channels.
struct PcmLayout {
    int channels = 1;
    int bitsPerSample = 16;
    int sampleRate = deviceSampleRate;
};
// Whole frames only; a partial frame at the end is dropped. False for any other layout.
bool decodeSamples(const PcmLayout& layout, const std::uint8_t* bytes, std::size_t count, SampleBuffer& out);

struct ChannelGains {
    float left = 1.0f;
    float right = 1.0f;
};

// One playback of a sample buffer; several voices may share one buffer.
struct Voice {
    const SampleBuffer* buffer = nullptr;   // null: the voice holds no sound
    std::uint64_t position = 0;             // in source frames, 32.32 fixed point
    std::uint64_t step = 0;                 // source frames per device frame, 32.32 fixed point
    ChannelGains gains;
    bool playing = false;
};

// ---- volume and pan, as the game gives them, to the device's hundredths of a decibel
int attenuationOfVolume(NumValue volume);   // 0..1 clamped: trunc(v × 100) × 100 - 10000
int balanceOfPan(NumValue pan);             // -1..1 clamped: trunc(pan × 10000)
double gainOfAttenuation(int attenuation);  // 10^(att / 2000); 0 at -10000 or below
// A positive balance attenuates the left channel by that much, a negative one the right.
ChannelGains channelGains(int attenuation, int balance);
std::uint64_t resampleStep(int sourceRate, int deviceRate);

// ---- the audio thread's work
// Adds up to frameCount frames of the voice, scaled by its gains, to `mix` (interleaved stereo).
// At the buffer's end the voice stops and rewinds, as a buffer played once does.
void mixVoice(Voice& voice, float* mix, int frameCount);
// frames[i] += mix[i] for every sample, saturating at the 16-bit limits.
void addSaturated(std::int16_t* frames, const float* mix, int sampleCount);

} // namespace tarvoke
