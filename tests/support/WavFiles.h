// WAV files built in memory for the sound tests, laid out (or damaged) as each test needs.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tarvoke::test {

struct WavSpec {
    int formatTag = 1;
    int channels = 1;
    std::uint32_t sampleRate = 22050;
    int bitsPerSample = 16;
    int blockAlign = -1;                       // -1: channels × bits / 8
    std::uint32_t fmtSize = 16;                // above 16: zero bytes follow the PCM fields
    std::vector<std::pair<std::string, std::string>> chunksBeforeData;  // id, contents
    std::string data;                          // the sample bytes
    std::int64_t dataSizeField = -1;           // -1: data.size()
};

std::string makeWav(const WavSpec& spec);
// Frames of 16-bit samples: mono when `right` is absent.
std::string samples16(int frames, std::int16_t left);
std::string samples16(int frames, std::int16_t left, std::int16_t right);
// A WAV file of `milliseconds` of a constant 16-bit mono level at 22050 Hz.
std::string constantWav(int milliseconds, std::int16_t level);

} // namespace tarvoke::test
