// Drives the WAV reader over arbitrary bytes: the chunk walk, the format checks and, for what
// passes, the decoding and one voice played through the mixer.
#include <cstddef>
#include <cstdint>
#include <vector>
#include "sound/Mixer.h"
#include "sound/WavReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarvoke;
    WavLayout layout;
    if (!parseWav(data, size, layout)) return 0;
    if (layout.dataOffset + layout.dataSize > size) __builtin_trap();  // must stay inside the input
    SampleBuffer buffer;
    if (!decodeSamples(layout.pcm, data + layout.dataOffset, layout.dataSize, buffer)) return 0;
    Voice voice;
    voice.buffer = &buffer;
    voice.step = resampleStep(buffer.sampleRate, deviceSampleRate);
    voice.playing = true;
    std::vector<float> mix(2 * 256, 0.0f);
    for (int block = 0; block < 4 && voice.playing; ++block) mixVoice(voice, mix.data(), 256);
    return 0;
}
