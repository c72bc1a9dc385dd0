// The WAV reader on files made here: the layouts it takes, those it refuses, damaged files.
#include <gtest/gtest.h>
#include "sound/WavReader.h"
#include "support/WavFiles.h"

namespace tarvoke {
namespace {

using namespace test;

bool parses(const std::string& file, WavLayout& layout) {
    return parseWav(reinterpret_cast<const std::uint8_t*>(file.data()), file.size(), layout);
}

const std::string mono16 = fmtChunk(1, 1, 22050, 16);
const std::string data20 = chunk("data", std::string(20, '@'));
const std::string extensibleTail = littleEndian(22, 2) + littleEndian(16, 2) + littleEndian(0, 4);  // size, bits, mask
const std::string pcmGuid = littleEndian(1, 2) + std::string(14, 'g');

TEST(WavReader, AcceptedLayoutsFindTheirSamples) {
    const struct { const char* what; std::string file; } cases[] = {
        {"16-bit mono", wavFile(mono16 + data20)},
        {"8-bit stereo at 11025 Hz", wavFile(fmtChunk(1, 2, 11025, 8) + data20)},
        {"an 18-byte fmt chunk", wavFile(fmtChunk(1, 1, 22050, 16, -1, "\0\0") + data20)},
        {"an extensible PCM format", wavFile(fmtChunk(0xFFFE, 1, 22050, 16, -1, extensibleTail + pcmGuid) + data20)},
        {"a fact chunk of 3000 bytes", wavFile(mono16 + chunk("fact", std::string(3000, 'f')) + data20)},
        {"LIST (odd size, padded), cue and fact chunks",
         wavFile(mono16 + chunk("LIST", std::string(37, 'i')) + chunk("cue ", "1234") + chunk("fact", "abcd") + data20)},
        {"a partial frame at the end, dropped", wavFile(mono16 + chunk("data", std::string(21, '@')))},
    };
    for (const auto& c : cases) {
        WavLayout layout;
        ASSERT_TRUE(parses(c.file, layout)) << c.what;
        EXPECT_EQ(layout.dataSize, 20u) << c.what;
        EXPECT_EQ(c.file.substr(layout.dataOffset, 20), std::string(20, '@')) << c.what;
    }
}

TEST(WavReader, DamagedOrUnplayableFilesAreRefused) {
    std::string fmtBeyondFile = wavFile(mono16 + data20);
    fmtBeyondFile[19] = 0x7F;  // the fmt chunk's size
    const struct { const char* what; std::string file; } cases[] = {
        {"too short for the format", wavFile(mono16 + data20).substr(0, 35)},
        {"a fmt chunk shorter than 16", wavFile(chunk("fmt ", mono16.substr(8, 14)) + data20)},
        {"a fmt chunk beyond the file", fmtBeyondFile},
        {"block align 0", wavFile(fmtChunk(1, 1, 22050, 16, 0) + data20)},
        {"block align not channels x bytes", wavFile(fmtChunk(1, 1, 22050, 16, 4) + data20)},
        {"0 channels", wavFile(fmtChunk(1, 0, 22050, 16, 2) + data20)},
        {"6 channels", wavFile(fmtChunk(1, 6, 22050, 16) + data20)},
        {"24-bit samples", wavFile(fmtChunk(1, 1, 22050, 24) + data20)},
        {"float samples", wavFile(fmtChunk(3, 1, 22050, 16) + data20)},
        {"mu-law samples", wavFile(fmtChunk(7, 1, 22050, 8) + data20)},
        {"extensible, not PCM", wavFile(fmtChunk(0xFFFE, 1, 22050, 16, -1, extensibleTail + "\3" + pcmGuid.substr(1)) + data20)},
        {"sample rate 0", wavFile(fmtChunk(1, 1, 0, 16) + data20)},
        {"sample rate 4 GHz", wavFile(fmtChunk(1, 1, 4000000000u, 16) + data20)},
        {"data beyond the file", wavFile(mono16 + "data" + littleEndian(22, 4) + std::string(20, '@'))},
        {"data size 0xFFFFFFFF", wavFile(mono16 + "data" + littleEndian(0xFFFFFFFF, 4) + std::string(20, '@'))},
        {"no whole frame", wavFile(mono16 + chunk("data", "@"))},
        {"a chunk beyond the file", wavFile(mono16 + "LIST" + littleEndian(4096, 4) + data20)},
        {"no data chunk", wavFile(mono16 + chunk("LIST", "abcd"))},
    };
    for (const auto& c : cases) {
        WavLayout layout;
        EXPECT_FALSE(parses(c.file, layout)) << c.what;
    }
}

TEST(WavReader, EveryCutOfAFileIsRefused) {
    const std::string file = wavFile(mono16 + chunk("LIST", std::string(9, 'x')) + data20);
    WavLayout layout;
    ASSERT_TRUE(parses(file, layout));
    for (std::size_t size = 0; size < file.size(); ++size) EXPECT_FALSE(parses(file.substr(0, size), layout)) << size;
}

} // namespace
} // namespace tarvoke
