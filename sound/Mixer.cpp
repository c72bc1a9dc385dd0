// The effect mixer's pure functions: sample decoding, gains, resampling and saturating sums.
// What may run on the audio thread is said in Mixer.h.
#include "sound/Mixer.h"
#include <algorithm>
#include <cmath>

namespace tarvoke {

namespace {

constexpr double fixedOne = 4294967296.0;  // 1.0 in 32.32 fixed point
constexpr float fixedFraction = 1.0f / 4294967296.0f;

// Clamps to lo..hi; a NaN becomes `ifNaN`.
double clampOr(double value, double lo, double hi, double ifNaN) {
    if (std::isnan(value)) return ifNaN;
    return std::clamp(value, lo, hi);
}

std::int16_t sampleOfBytes(const std::uint8_t* p, int bitsPerSample) {
    if (bitsPerSample == 8) return std::int16_t((int(p[0]) - 128) * 256);  // unsigned, centred on 128
    return std::int16_t(std::uint16_t(p[0] | (p[1] << 8)));
}

// Linear interpolation between a frame and the next; the last frame holds its value.
template <int Channels>
void mixFrames(Voice& voice, float* mix, int frameCount) {
    const std::int16_t* samples = voice.buffer->samples.data();
    const std::uint64_t frames = voice.buffer->frameCount();
    const std::uint64_t end = frames << 32;
    const float gainLeft = voice.gains.left;
    const float gainRight = voice.gains.right;
    std::uint64_t position = voice.position;
    for (int i = 0; i < frameCount && position < end; ++i, position += voice.step) {
        const std::uint64_t index = position >> 32;
        const std::uint64_t next = index + 1 < frames ? index + 1 : index;
        const float fraction = float(std::uint32_t(position)) * fixedFraction;
        if (Channels == 1) {
            const float a = samples[index], b = samples[next];
            const float value = a + (b - a) * fraction;
            mix[2 * i] += value * gainLeft;
            mix[2 * i + 1] += value * gainRight;
        } else {
            const float l0 = samples[2 * index], l1 = samples[2 * next];
            const float r0 = samples[2 * index + 1], r1 = samples[2 * next + 1];
            mix[2 * i] += (l0 + (l1 - l0) * fraction) * gainLeft;
            mix[2 * i + 1] += (r0 + (r1 - r0) * fraction) * gainRight;
        }
    }
    if (position >= end) {
        voice.playing = false;
        voice.position = 0;
    } else {
        voice.position = position;
    }
}

} // namespace

bool decodeSamples(const PcmLayout& layout, const std::uint8_t* bytes, std::size_t count, SampleBuffer& out) {
    if (layout.channels != 1 && layout.channels != 2) return false;
    if (layout.bitsPerSample != 8 && layout.bitsPerSample != 16) return false;
    const int bytesPerSample = layout.bitsPerSample / 8;
    const std::size_t frames = count / std::size_t(layout.channels * bytesPerSample);
    if (frames == 0) return false;
    out.channels = layout.channels;
    out.sampleRate = layout.sampleRate;
    out.samples.resize(frames * std::size_t(layout.channels));
    for (std::size_t i = 0; i < out.samples.size(); ++i)
        out.samples[i] = sampleOfBytes(bytes + i * bytesPerSample, layout.bitsPerSample);
    return true;
}

int attenuationOfVolume(NumValue volume) {
    const int percent = int(clampOr(volume, 0.0, 1.0, 0.0) * 100.0);
    return percent * 100 + silentAttenuation;
}

int balanceOfPan(NumValue pan) { return int(clampOr(pan, -1.0, 1.0, 0.0) * fullBalance); }

double gainOfAttenuation(int attenuation) {
    if (attenuation <= silentAttenuation) return 0.0;
    return std::pow(10.0, std::min(attenuation, 0) / 2000.0);
}

ChannelGains channelGains(int attenuation, int balance) {
    const int leftCut = std::max(balance, 0);
    const int rightCut = std::max(-balance, 0);
    return {float(gainOfAttenuation(attenuation - leftCut)), float(gainOfAttenuation(attenuation - rightCut))};
}

std::uint64_t resampleStep(int sourceRate, int deviceRate) {
    if (sourceRate <= 0 || deviceRate <= 0) return 0;
    return std::uint64_t(double(sourceRate) / deviceRate * fixedOne + 0.5);
}

void mixVoice(Voice& voice, float* mix, int frameCount) {
    if (!voice.playing) return;
    if (!voice.buffer || voice.step == 0) {
        voice.playing = false;
        return;
    }
    if (voice.buffer->channels == 2)
        mixFrames<2>(voice, mix, frameCount);
    else
        mixFrames<1>(voice, mix, frameCount);
}

void addSaturated(std::int16_t* frames, const float* mix, int sampleCount) {
    for (int i = 0; i < sampleCount; ++i) {
        const float sum = std::clamp(float(frames[i]) + mix[i], -32768.0f, 32767.0f);
        frames[i] = std::int16_t(sum + (sum >= 0.0f ? 0.5f : -0.5f));
    }
}

} // namespace tarvoke
