#include "support/WavFiles.h"

namespace tarvoke::test {

namespace {

void put16(std::string& out, unsigned value) {
    out += char(value & 0xFF);
    out += char((value >> 8) & 0xFF);
}

void put32(std::string& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

void putChunk(std::string& out, const std::string& id, const std::string& contents) {
    out += id;
    put32(out, std::uint32_t(contents.size()));
    out += contents;
    if (contents.size() % 2) out += '\0';
}

} // namespace

std::string makeWav(const WavSpec& spec) {
    const int blockAlign = spec.blockAlign >= 0 ? spec.blockAlign : spec.channels * spec.bitsPerSample / 8;
    std::string format;
    put16(format, unsigned(spec.formatTag));
    put16(format, unsigned(spec.channels));
    put32(format, spec.sampleRate);
    put32(format, spec.sampleRate * std::uint32_t(blockAlign));
    put16(format, unsigned(blockAlign));
    put16(format, unsigned(spec.bitsPerSample));
    if (spec.formatTag == 0xFFFE) {  // valid bits, channel mask, then the PCM sub-format's GUID
        put16(format, 22);
        put16(format, unsigned(spec.bitsPerSample));
        put32(format, 0);
        format += std::string("\x01\x00\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 16);
    }
    format.resize(spec.fmtSize, '\0');

    std::string body = "WAVE";
    putChunk(body, "fmt ", format);
    for (const auto& [id, contents] : spec.chunksBeforeData) putChunk(body, id, contents);
    body += "data";
    put32(body, spec.dataSizeField >= 0 ? std::uint32_t(spec.dataSizeField) : std::uint32_t(spec.data.size()));
    body += spec.data;

    std::string file = "RIFF";
    put32(file, std::uint32_t(body.size()));
    return file + body;
}

std::string samples16(int frames, std::int16_t left) {
    std::string out;
    for (int i = 0; i < frames; ++i) put16(out, std::uint16_t(left));
    return out;
}

std::string samples16(int frames, std::int16_t left, std::int16_t right) {
    std::string out;
    for (int i = 0; i < frames; ++i) {
        put16(out, std::uint16_t(left));
        put16(out, std::uint16_t(right));
    }
    return out;
}

std::string constantWav(int milliseconds, std::int16_t level) {
    WavSpec spec;
    spec.data = samples16(22050 * milliseconds / 1000, level);
    return makeWav(spec);
}

} // namespace tarvoke::test
