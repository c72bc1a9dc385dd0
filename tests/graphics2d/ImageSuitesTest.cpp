// PngSuite and BMP Suite: every file is read (under the sanitizers in the sanitizer build) and the
// result is held against the suites' plain reference decodings plus this engine's own rules.
#include <gtest/gtest.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <vector>
#include "graphics2d/ImageFiles.h"

namespace tarvoke {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Row = std::vector<std::string>;
constexpr std::int32_t defaultKey = 0x8000ff;

// The suites are kept in the repository, so they are always there to test against.
std::string suitePath(const std::string& relative) {
    return std::string(TARVOKE_SOURCE_DIR) + "/tests/data/imagesuites/" + relative;
}

Bytes readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<Row> readIndex(const std::string& path) {
    std::ifstream in(path);
    std::vector<Row> rows;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        Row row;
        for (std::string field; std::getline(fields, field, '\t');) row.push_back(field);
        rows.push_back(row);
    }
    return rows;
}

std::uint32_t bigEndian32(const Bytes& bytes, std::size_t at) {
    return std::uint32_t(bytes[at]) << 24 | std::uint32_t(bytes[at + 1]) << 16 |
           std::uint32_t(bytes[at + 2]) << 8 | bytes[at + 3];
}

std::uint32_t littleEndian32(const Bytes& bytes, std::size_t at) {
    return bytes[at] | std::uint32_t(bytes[at + 1]) << 8 | std::uint32_t(bytes[at + 2]) << 16 |
           std::uint32_t(bytes[at + 3]) << 24;
}

bool hasChunk(const Bytes& png, const std::string& type) {
    for (std::size_t at = 8; at + 8 <= png.size(); at += 12 + bigEndian32(png, at))
        if (std::string(png.begin() + long(at) + 4, png.begin() + long(at) + 8) == type) return true;
    return false;
}

Bytes withKeyApplied(Bytes rgba, std::int32_t key) {
    for (std::size_t at = 0; at < rgba.size(); at += 4)
        if (matchesColourKey(rgba[at], rgba[at + 1], rgba[at + 2], key)) std::fill_n(&rgba[at], 4, 0);
    return rgba;
}

std::int32_t keyOfFirstPixel(const Bytes& rgba) { return rgba[0] + rgba[1] * 256 + rgba[2] * 65536; }

// Reads with no key, the default key and a key that certainly occurs (the first pixel's colour).
void expectDecodesAs(bool (*reader)(Image&, const std::string&, std::int32_t, const SizeCheck&), const std::string& path,
                     const Bytes& reference, bool keyApplies) {
    for (std::int32_t key : {noColourKey, defaultKey, keyOfFirstPixel(reference)}) {
        Image image;
        ASSERT_TRUE(reader(image, path, key, nullptr)) << path;
        const Bytes expected = keyApplies ? withKeyApplied(reference, key) : reference;
        EXPECT_EQ(Bytes(image.pixels.begin(), image.pixels.end()), expected) << path << " key " << key;
    }
}

void expectRefused(bool (*reader)(Image&, const std::string&, std::int32_t, const SizeCheck&), const std::string& path) {
    Image image;
    EXPECT_FALSE(reader(image, path, noColourKey, nullptr)) << path;
    EXPECT_TRUE(image.isEmpty()) << path;
}

// ---------------------------------------------------------------- PngSuite

enum class PngOutcome { refused, exact, keyed };

// Grey with alpha, or grey with a tRNS chunk (which becomes alpha), leaves two channels.
PngOutcome expectedOutcome(const Bytes& png) {
    const int colourType = png[25];
    const bool transparent = hasChunk(png, "tRNS");
    if (colourType == 4 || (colourType == 0 && transparent)) return PngOutcome::refused;
    if (colourType == 6 || colourType == 0 || transparent) return PngOutcome::exact;
    return PngOutcome::keyed;
}

TEST(PngSuite, EveryFileDecodesAsItsReferenceUnderTheEngineRules) {
    const std::vector<Row> index = readIndex(suitePath("pngsuite/index.tsv"));
    ASSERT_FALSE(index.empty()) << "no PngSuite at " << suitePath("pngsuite");
    std::map<PngOutcome, int> outcomes;
    int topLevelFiles = 0;
    for (const Row& row : index) {
        const std::string path = suitePath("pngsuite/" + row[0]);
        topLevelFiles += row[0].find('/') == std::string::npos;
        if (row[3] == "corrupt") {
            expectRefused(readPngFile, path);
            continue;
        }
        const PngOutcome outcome = expectedOutcome(readBytes(path));
        ++outcomes[outcome];
        if (outcome == PngOutcome::refused)
            expectRefused(readPngFile, path);
        else
            expectDecodesAs(readPngFile, path, readBytes(path + ".rgba"), outcome == PngOutcome::keyed);
    }
    EXPECT_EQ(topLevelFiles, 175);
    EXPECT_EQ(index.size(), 235u);
    EXPECT_GT(outcomes[PngOutcome::refused], 0);
    EXPECT_GT(outcomes[PngOutcome::exact], 0);
    EXPECT_GT(outcomes[PngOutcome::keyed], 0);
}

TEST(PngSuite, CorruptFilesFailEvenThroughTheCombinedReader) {
    int corrupt = 0;
    for (const Row& row : readIndex(suitePath("pngsuite/index.tsv"))) {
        if (row[3] != "corrupt") continue;
        ++corrupt;
        expectRefused(readImageFile, suitePath("pngsuite/" + row[0]));
    }
    EXPECT_EQ(corrupt, 14);
}

// ---------------------------------------------------------------- BMP Suite

// Index columns: path, header size, bits per pixel, compression, width, height, file size, ...
bool hasReadableFormat(const Row& row, const Bytes& file) {
    const int headerBytes = std::stoi(row[1]);
    const int bits = std::stoi(row[2]);
    const int compression = std::stoi(row[3]);
    if (headerBytes != 12 && headerBytes != 40) return false;
    if (bits != 8 && bits != 24 && bits != 32) return false;
    if (std::stoi(row[4]) <= 0) return false;
    if (compression == 0) return true;
    return compression == 3 && bits == 32 && littleEndian32(file, 54) == 0x00FF0000 &&
           littleEndian32(file, 58) == 0x0000FF00 && littleEndian32(file, 62) == 0x000000FF;
}

// Odd but well-formed variants of a good picture: the rules say they decode to that picture.
const std::map<std::string, std::string> sameAsGoodPicture{
    {"g/rgb32bfdef.bmp", "g/rgb24.bmp"},          {"q/rgb32fakealpha.bmp", "g/rgb24.bmp"},
    {"q/rgb24largepal.bmp", "g/rgb24.bmp"},       {"q/pal8offs.bmp", "g/pal8.bmp"},
    {"q/pal8oversizepal.bmp", "g/pal8.bmp"},      {"q/pal8os2-hs.bmp", "g/pal8os2.bmp"},
    {"q/pal8os2-sz.bmp", "g/pal8os2.bmp"},        {"q/pal8os2sp.bmp", "g/pal8os2.bmp"},
    {"q/pal8os2v2-40sz.bmp", "g/pal8.bmp"},       {"b/badpalettesize.bmp", "g/pal8.bmp"},
};

const std::set<std::string> mustBeRefused{
    "g/pal8v4.bmp",       "g/pal8v5.bmp",       "q/rgb24prof.bmp",  "q/rgba32-1.bmp",   // 108/124 headers
    "g/pal8rle.bmp",      "g/pal4rle.bmp",      "b/badrle.bmp",     "b/rletopdown.bmp",  // run lengths
    "q/rgb24jpeg.bmp",    "q/rgb24png.bmp",     "q/rgb24rle24.bmp", "g/rgb32bf.bmp",
    "q/rgb32-111110.bmp", "g/pal1.bmp",         "g/rgb16.bmp",      "q/rgba64.bmp",
    "b/shortfile.bmp",    "b/reallybig.bmp",    "b/badbitcount.bmp", "b/badwidth.bmp",
    "b/badheadersize.bmp", "q/rgb32h52.bmp",
};

TEST(BmpSuite, EveryFileIsDecodedAsTheRulesSayOrRefused) {
    const std::vector<Row> index = readIndex(suitePath("bmpsuite/index.tsv"));
    ASSERT_FALSE(index.empty()) << "no BMP Suite at " << suitePath("bmpsuite");
    int referenced = 0;
    std::set<std::string> refused;
    for (const Row& row : index) {
        const std::string path = suitePath("bmpsuite/" + row[0]);
        const Bytes file = readBytes(path);
        if (row[8] == "yes") {
            ++referenced;
            expectDecodesAs(readBmpFile, path, readBytes(path + ".rgba"), true);
        } else if (sameAsGoodPicture.count(row[0])) {
            const std::string good = suitePath("bmpsuite/" + sameAsGoodPicture.at(row[0]) + ".rgba");
            expectDecodesAs(readBmpFile, path, readBytes(good), true);
        } else if (!hasReadableFormat(row, file) || mustBeRefused.count(row[0])) {
            refused.insert(row[0]);
            expectRefused(readBmpFile, path);
            // Only a header lying about the size makes a readable format fail.
            EXPECT_TRUE(!hasReadableFormat(row, file) || row[0] == "b/reallybig.bmp") << row[0];
        } else {
            Image image;
            const std::int64_t indexedPixels = std::abs(std::stoll(row[4]) * std::stoll(row[5]));
            if (readBmpFile(image, path, noColourKey)) {
                EXPECT_EQ(std::int64_t(image.width) * image.height, indexedPixels) << path;
            }
        }
    }
    EXPECT_EQ(referenced, 12);
    EXPECT_EQ(index.size(), 90u);
    for (const std::string& name : mustBeRefused) EXPECT_EQ(refused.count(name), 1u) << name;
}

// Its table has 101 entries and the pixels point past them; those read as opaque black.
TEST(BmpSuite, IndicesPastTheTableReadAsOpaqueBlack) {
    const std::string path = suitePath("bmpsuite/b/pal8badindex.bmp");
    const Bytes file = readBytes(path);
    ASSERT_FALSE(file.empty()) << "no BMP Suite at " << path;
    Bytes expected = readBytes(suitePath("bmpsuite/g/pal8.bmp.rgba"));
    const std::size_t pixelOffset = littleEndian32(file, 10), width = 127, height = 64, rowBytes = 128;
    ASSERT_EQ((pixelOffset - 54) / 4, 101u);
    int pastTable = 0;
    for (std::size_t y = 0; y < height; ++y)
        for (std::size_t x = 0; x < width; ++x)
            if (file[pixelOffset + (height - 1 - y) * rowBytes + x] >= 101) {
                ++pastTable;
                const Bytes black{0, 0, 0, 255};
                std::copy(black.begin(), black.end(), &expected[(y * width + x) * 4]);
            }
    EXPECT_GT(pastTable, 0);
    expectDecodesAs(readBmpFile, path, expected, true);
}

} // namespace
} // namespace tarvoke
