// WAV files built in memory for the sound tests, laid out (or damaged) as each test needs.
#pragma once
#include <cstdint>
#include <string>

namespace tarvoke::test {

inline std::string littleEndian(std::uint32_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out += char((value >> (8 * i)) & 0xFF);
    return out;
}

// A RIFF chunk, padded to an even length.
inline std::string chunk(const std::string& id, const std::string& contents) {
    return id + littleEndian(std::uint32_t(contents.size()), 4) + contents + std::string(contents.size() % 2, '\0');
}

// A "fmt " chunk: the 16 bytes of PCM fields (block align from channels and bits unless given),
// then `extra`.
inline std::string fmtChunk(int tag, int channels, std::uint32_t rate, int bits, int blockAlign = -1,
                            const std::string& extra = "") {
    const int align = blockAlign >= 0 ? blockAlign : channels * bits / 8;
    return chunk("fmt ", littleEndian(tag, 2) + littleEndian(channels, 2) + littleEndian(rate, 4) +
                             littleEndian(rate * align, 4) + littleEndian(align, 2) + littleEndian(bits, 2) + extra);
}

inline std::string wavFile(const std::string& chunks) {
    return "RIFF" + littleEndian(std::uint32_t(4 + chunks.size()), 4) + "WAVE" + chunks;
}

// `milliseconds` of a constant 16-bit mono level at 22050 Hz.
inline std::string constantWav(int milliseconds, std::int16_t level) {
    std::string samples;
    for (int i = 0; i < 22050 * milliseconds / 1000; ++i) samples += littleEndian(std::uint16_t(level), 2);
    return wavFile(fmtChunk(1, 1, 22050, 16) + chunk("data", samples));
}

} // namespace tarvoke::test
