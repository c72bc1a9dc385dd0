// The WAV reader on files made here: the layouts it takes, those it refuses, damaged files.
#include <gtest/gtest.h>
#include "sound/WavReader.h"
#include "support/TestSupport.h"
#include "support/WavFiles.h"

namespace tarvoke {
namespace {

using test::WavSpec;

bool parses(const std::string& file, WavLayout& layout) {
    return parseWav(reinterpret_cast<const std::uint8_t*>(file.data()), file.size(), layout);
}

WavSpec withData(WavSpec spec, int frames = 10) {
    spec.data = std::string(std::size_t(frames * spec.channels * spec.bitsPerSample / 8), '\x40');
    return spec;
}

// The file with the 32-bit field at `offset` replaced.
std::string patched(std::string file, std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) file[offset + i] = char((value >> (8 * i)) & 0xFF);
    return file;
}

WavSpec withChunk(WavSpec spec, const std::string& id, const std::string& contents) {
    spec.chunksBeforeData.emplace_back(id, contents);
    return spec;
}

TEST(WavReader, AcceptedLayoutsFindTheirSamples) {
    WavSpec stereo8;
    stereo8.channels = 2;
    stereo8.bitsPerSample = 8;
    stereo8.sampleRate = 11025;
    WavSpec eighteen;
    eighteen.fmtSize = 18;
    WavSpec extensible;
    extensible.formatTag = 0xFFFE;
    extensible.fmtSize = 40;
    WavSpec partialFrame = withData(WavSpec{});
    partialFrame.data += '\x01';
    const struct { const char* what; WavSpec spec; std::size_t dataSize; } cases[] = {
        {"16-bit mono", withData(WavSpec{}), 20},
        {"8-bit stereo at 11025 Hz", withData(stereo8), 20},
        {"an 18-byte fmt chunk", withData(eighteen), 20},
        {"an extensible PCM format", withData(extensible), 20},
        {"a fact chunk", withChunk(withData(WavSpec{}), "fact", "\x10\0\0\0"), 20},
        {"a fact chunk of 3000 bytes", withChunk(withData(WavSpec{}), "fact", std::string(3000, 'f')), 20},
        {"a LIST chunk of odd size, padded", withChunk(withData(WavSpec{}), "LIST", std::string(37, 'i')), 20},
        {"LIST, cue and fact chunks",
         withChunk(withChunk(withChunk(withData(WavSpec{}), "LIST", "INFOISFT"), "cue ", "1234"), "fact", "abcd"), 20},
        {"a partial frame at the end, dropped", partialFrame, 20},
    };
    for (const auto& c : cases) {
        const std::string file = test::makeWav(c.spec);
        WavLayout layout;
        ASSERT_TRUE(parses(file, layout)) << c.what;
        EXPECT_EQ(layout.dataSize, c.dataSize) << c.what;
        EXPECT_EQ(layout.dataOffset + c.spec.data.size(), file.size()) << c.what;
        EXPECT_EQ(layout.pcm.sampleRate, int(c.spec.sampleRate)) << c.what;
    }
}

TEST(WavReader, DamagedOrUnplayableFilesAreRefused) {
    auto with = [](auto change) {
        WavSpec spec = withData(WavSpec{});
        change(spec);
        return test::makeWav(spec);
    };
    const struct { const char* what; std::string file; } cases[] = {
        {"too short for the format", test::makeWav(withData(WavSpec{})).substr(0, 35)},
        {"a fmt chunk shorter than 16", with([](WavSpec& s) { s.fmtSize = 14; })},
        {"a fmt chunk beyond the file", patched(with([](WavSpec&) {}), 16, 0x7FFFFFF0)},
        {"block align 0", with([](WavSpec& s) { s.blockAlign = 0; })},
        {"block align not channels × bytes", with([](WavSpec& s) { s.blockAlign = 4; })},
        {"0 channels", with([](WavSpec& s) { s.channels = 0; s.blockAlign = 2; })},
        {"6 channels", with([](WavSpec& s) { s.channels = 6; })},
        {"24-bit samples", with([](WavSpec& s) { s.bitsPerSample = 24; })},
        {"float samples", with([](WavSpec& s) { s.formatTag = 3; })},
        {"mu-law samples", with([](WavSpec& s) { s.formatTag = 7; s.bitsPerSample = 8; })},
        {"extensible, not PCM", with([](WavSpec& s) { s.formatTag = 0xFFFE; })},
        {"sample rate 0", with([](WavSpec& s) { s.sampleRate = 0; })},
        {"sample rate 4 GHz", with([](WavSpec& s) { s.sampleRate = 4000000000u; })},
        {"data beyond the file", with([](WavSpec& s) { s.dataSizeField = 22; })},
        {"data size 0xFFFFFFFF", with([](WavSpec& s) { s.dataSizeField = 0xFFFFFFFF; })},
        {"no whole frame", with([](WavSpec& s) { s.data = "\x01"; })},
        {"a chunk beyond the file before data",
         patched(with([](WavSpec& s) { s.chunksBeforeData = {{"LIST", "abcd"}}; }), 40, 0x1000)},
        {"no data chunk", test::makeWav(withData(WavSpec{})).substr(0, 36) + "LIST\x04\0\0\0abcd"},
    };
    for (const auto& c : cases) {
        WavLayout layout;
        EXPECT_FALSE(parses(c.file, layout)) << c.what;
    }
}

TEST(WavReader, EveryCutOfAFileIsRefused) {
    const std::string file = test::makeWav(withChunk(withData(WavSpec{}), "LIST", std::string(9, 'x')));
    WavLayout layout;
    ASSERT_TRUE(parses(file, layout));
    for (std::size_t size = 0; size < file.size(); ++size) {
        const std::string cut = file.substr(0, size);
        EXPECT_FALSE(parses(cut, layout)) << size;
    }
}

TEST(WavReader, AFileIsReadAndDecoded) {
    test::ScopedTempDir temp;
    WavSpec spec;
    spec.channels = 2;
    spec.data = test::samples16(3, 1200, -700);
    test::writeFile(temp.file("tone.wav"), test::makeWav(withChunk(spec, "LIST", "INFO")));
    SampleBuffer buffer;
    ASSERT_TRUE(readWavFile(temp.file("tone.wav"), buffer));
    EXPECT_EQ(buffer.channels, 2);
    EXPECT_EQ(buffer.samples, (std::vector<std::int16_t>{1200, -700, 1200, -700, 1200, -700}));
    EXPECT_FALSE(readWavFile(temp.file("missing.wav"), buffer));
    EXPECT_FALSE(readWavFile(temp.path(), buffer)) << "a folder";
}

} // namespace
} // namespace tarvoke
