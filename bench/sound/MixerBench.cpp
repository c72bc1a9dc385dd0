// The effect mixer's cost: every voice of the 128 slots playing (512 voices), mixed into device
// blocks exactly as the audio thread does. Reported as nanoseconds per output frame and as the
// share of one core that real-time output at 22050 Hz takes.
#include <benchmark/benchmark.h>
#include <cmath>
#include <ctime>
#include <memory>
#include <vector>
#include "sound/SoundDevice.h"

namespace {

using namespace tarvoke;

constexpr int blockFrames = 512;  // what the device asks for at a time

// Ten seconds of a tone in the given layout.
SampleBuffer tone(int channels, int rate) {
    SampleBuffer buffer;
    buffer.channels = channels;
    buffer.sampleRate = rate;
    buffer.samples.resize(std::size_t(channels) * rate * 10);
    for (std::size_t i = 0; i < buffer.samples.size(); ++i) buffer.samples[i] = std::int16_t(3000 * std::sin(i * 0.01));
    return buffer;
}

void BM_MixAllVoices(benchmark::State& state) {
    const int voiceCount = int(state.range(0));
    // The source rates and layouts the engine plays, shared out over the slots.
    static const SampleBuffer sources[] = {tone(1, 11025), tone(2, 44100), tone(1, 22050), tone(2, 22050)};
    auto device = std::make_unique<SoundDevice>();
    for (int v = 0; v < voiceCount; ++v) {
        SoundSlot& slot = device->slots[v / maxVoicesPerSound];
        const SampleBuffer& source = sources[v % 4];
        slot.voiceCount = maxVoicesPerSound;
        Voice& voice = slot.voices[v % maxVoicesPerSound];
        voice = Voice{&source, std::uint64_t(v) << 36, resampleStep(source.sampleRate, deviceSampleRate),
                      channelGains(-600, (v % 21 - 10) * 1000), true};
    }
    std::vector<std::int16_t> block(2 * blockFrames, 0);
    const std::clock_t cpuStart = std::clock();  // the process's CPU time: the machine may be shared
    for (auto _ : state) {
        mixSoundDevice(*device, block.data(), blockFrames);
        benchmark::DoNotOptimize(block.data());
        for (SoundSlot& slot : device->slots)  // a voice that reached its end starts again
            for (Voice& voice : slot.voices) voice.playing = voice.buffer != nullptr;
    }
    const double cpuNs = double(std::clock() - cpuStart) / CLOCKS_PER_SEC * 1e9;
    const double frames = double(blockFrames) * double(state.iterations());
    state.counters["cpu_ns_per_frame"] = cpuNs / frames;
    state.counters["core_pct_at_22050Hz"] = cpuNs / frames * deviceSampleRate / 1e9 * 100;
}
BENCHMARK(BM_MixAllVoices)->Arg(512)->Arg(64)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
