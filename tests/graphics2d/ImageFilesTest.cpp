// Image files made byte by byte (BMP) or with libpng (PNG), read back through the engine; and the
// engine's own BMP and PNG writer.
#include <gtest/gtest.h>
#include <png.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>
#include <climits>
#include <csetjmp>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>
#include "graphics2d/ImageFiles.h"

namespace tarvoke {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr std::int32_t purpleKey = 0x8000ff;  // red 255, green 0, blue 128

class TempFolder {
public:
    TempFolder() {
        char pattern[] = "/tmp/tarvoke-images-XXXXXX";
        path_ = mkdtemp(pattern) ? pattern : "";
    }
    ~TempFolder() { std::filesystem::remove_all(path_); }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

std::string le16(std::uint32_t value) { return {char(value & 0xff), char(value >> 8 & 0xff)}; }
std::string le32(std::uint32_t value) { return le16(value & 0xffff) + le16(value >> 16); }

Bytes pixelsOf(const Image& image) { return Bytes(image.pixels.begin(), image.pixels.end()); }

// The process's peak address space: an allocation made before the sizes were checked raises it
// even when its pages were never touched.
long peakVirtualKilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmPeak:", 0) == 0) return std::stol(line.substr(7));
    return -1;
}
constexpr long allocationAllowanceKilobytes = 128 * 1024;

// ---------------------------------------------------------------- BMP reading

struct Bmp {
    bool coreHeader = false;
    std::int32_t width = 1, height = 1;
    int bits = 24;
    std::uint32_t compression = 0;
    std::string masks{};    // after the header, for bit fields
    std::string palette{};  // entries as stored
    std::string gap{};      // between the palette and the pixels
    std::string pixels{};   // rows as stored
};

std::string bmpBytes(const Bmp& bmp) {
    const std::uint32_t headerBytes = bmp.coreHeader ? 12 : 40;
    const std::size_t offset = 14 + headerBytes + bmp.masks.size() + bmp.palette.size() + bmp.gap.size();
    std::string header = "BM" + le32(0) + le32(0) + le32(std::uint32_t(offset)) + le32(headerBytes);
    if (bmp.coreHeader)
        header += le16(std::uint32_t(bmp.width)) + le16(std::uint32_t(bmp.height)) + le16(1) + le16(bmp.bits);
    else
        header += le32(std::uint32_t(bmp.width)) + le32(std::uint32_t(bmp.height)) + le16(1) + le16(bmp.bits) +
                  le32(bmp.compression) + std::string(20, '\0');
    return header + bmp.masks + bmp.palette + bmp.gap + bmp.pixels;
}

class BmpReading : public ::testing::Test {
protected:
    bool read(const Bmp& bmp, std::int32_t key = noColourKey) { return readRaw(bmpBytes(bmp), key); }
    bool readRaw(const std::string& bytes, std::int32_t key = noColourKey) {
        writeFile(path, bytes);
        image.width = image.height = 1;
        image.pixels.assign(4, 7);
        return readBmpFile(image, path, key);
    }
    void expectRefused(const Bmp& bmp) {
        EXPECT_FALSE(read(bmp));
        EXPECT_TRUE(image.isEmpty());
        EXPECT_TRUE(image.pixels.empty());
    }
    TempFolder folder;
    std::string path = folder.file("picture.bmp");
    Image image;
};

TEST_F(BmpReading, PalettedWithCoreHeaderUsesThreeByteEntriesAndBlackPastTheTable) {
    Bmp bmp{true, 2, 2, 8};
    for (int entry = 0; entry < 10; ++entry) bmp.palette += {char(entry), char(entry * 2), char(entry * 3)};
    bmp.pixels = std::string{1, 2, 0, 0} + std::string{3, char(200), 0, 0};  // bottom row first
    ASSERT_TRUE(read(bmp));
    EXPECT_EQ(image.width, 2);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(pixelsOf(image), (Bytes{9, 6, 3, 255, 0, 0, 0, 255, 3, 2, 1, 255, 6, 4, 2, 255}));
}

TEST_F(BmpReading, PalettedWithInfoHeaderAppliesTheKeyToTableColours) {
    Bmp bmp{false, 3, 1, 8};
    bmp.palette = std::string{1, 2, 3, 9} + std::string{char(128), 0, char(255), 9} + std::string(12, 5);
    bmp.pixels = std::string{0, 1, 5, 0};  // five entries in the table
    ASSERT_TRUE(read(bmp, purpleKey));
    EXPECT_EQ(pixelsOf(image), (Bytes{3, 2, 1, 255, 0, 0, 0, 0, 0, 0, 0, 255}));
    ASSERT_TRUE(read(bmp, 0));  // black from an index past the table is keyed like any black
    EXPECT_EQ(pixelsOf(image), (Bytes{3, 2, 1, 255, 255, 0, 128, 255, 0, 0, 0, 0}));
}

TEST_F(BmpReading, PixelsComeFromTheDataOffsetNotFromAfterTheTable) {
    Bmp bmp{false, 1, 1, 8};
    bmp.palette = std::string(16, '\0') + std::string{10, 20, 30, 0};  // entry 4 is the only colour
    bmp.gap = std::string(8, '\1');
    bmp.pixels = std::string{4, 0, 0, 0};
    ASSERT_TRUE(read(bmp));
    EXPECT_EQ(pixelsOf(image), (Bytes{30, 20, 10, 255}));

    Bmp rgb{false, 1, 1, 24};
    rgb.gap = std::string(6, '\x11');
    rgb.pixels = std::string{1, 2, 3, 0};
    ASSERT_TRUE(read(rgb));
    EXPECT_EQ(pixelsOf(image), (Bytes{3, 2, 1, 255}));
}

TEST_F(BmpReading, TwentyFourBitRowsArePaddedToFourBytesAndStoredBottomUp) {
    Bmp bmp{false, 3, 2, 24};
    bmp.pixels = std::string{1, 2, 3, 4, 5, 6, 7, 8, 9, 'p', 'a', 'd'} +
                 std::string{11, 12, 13, 14, 15, 16, 17, 18, 19, 'p', 'a', 'd'};
    ASSERT_TRUE(read(bmp));
    EXPECT_EQ(pixelsOf(image), (Bytes{13, 12, 11, 255, 16, 15, 14, 255, 19, 18, 17, 255,  // top
                                   3, 2, 1, 255, 6, 5, 4, 255, 9, 8, 7, 255}));
}

TEST_F(BmpReading, ThirtyTwoBitIgnoresTheFourthByteAndAcceptsOnlyPlainBitFields) {
    Bmp bmp{false, 3, 1, 32};
    bmp.pixels = std::string{1, 2, 3, 0, 4, 5, 6, char(128), char(128), 0, char(255), 0};
    ASSERT_TRUE(read(bmp, purpleKey));
    EXPECT_EQ(pixelsOf(image), (Bytes{3, 2, 1, 255, 6, 5, 4, 255, 0, 0, 0, 0}));

    bmp.compression = 3;
    bmp.masks = le32(0x00FF0000) + le32(0x0000FF00) + le32(0x000000FF);
    ASSERT_TRUE(read(bmp));
    EXPECT_EQ(pixelsOf(image), (Bytes{3, 2, 1, 255, 6, 5, 4, 255, 255, 0, 128, 255}));

    bmp.masks = le32(0x000000FF) + le32(0x0000FF00) + le32(0x00FF0000);
    expectRefused(bmp);
    Bmp bitFields24{false, 1, 1, 24, 3, le32(0x00FF0000) + le32(0x0000FF00) + le32(0x000000FF)};
    bitFields24.pixels = std::string(4, '\0');
    expectRefused(bitFields24);
}

TEST_F(BmpReading, NegativeHeightMeansTopRowFirst) {
    Bmp bmp{false, 1, -2, 24};
    bmp.pixels = std::string{1, 1, 1, 0} + std::string{2, 2, 2, 0};
    ASSERT_TRUE(read(bmp));
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(pixelsOf(image), (Bytes{1, 1, 1, 255, 2, 2, 2, 255}));
}

TEST_F(BmpReading, FormatsItCannotDecodeAreRefused) {
    Bmp unsupportedDepth{false, 1, 1, 16};
    unsupportedDepth.pixels = std::string(4, '\0');
    expectRefused(unsupportedDepth);
    Bmp runLength{false, 1, 1, 8, 1, "", std::string(8, '\0')};
    runLength.pixels = std::string(4, '\0');
    expectRefused(runLength);
    Bmp tableless{false, 1, 1, 8};
    tableless.pixels = std::string(4, '\0');
    expectRefused(tableless);
    tableless.gap = "  ";  // room for half an entry
    expectRefused(tableless);
    Bmp smallCoreTable{true, 1, 1, 8, 0, "", std::string(9, '\1'), "", std::string(4, '\0')};
    expectRefused(smallCoreTable);  // a table must reach past byte 54 to count

    std::string offsetIntoHeader = bmpBytes(Bmp{false, 1, 1, 24, 0, "", "", "", std::string(4, '\0')});
    offsetIntoHeader.replace(10, 4, le32(2));
    EXPECT_FALSE(readRaw(offsetIntoHeader));

    std::string newerHeader = bmpBytes(Bmp{false, 1, 1, 24, 0, "", "", "", std::string(4, '\0')});
    newerHeader.replace(14, 4, le32(108));
    EXPECT_FALSE(readRaw(newerHeader));
    std::string notBmp = newerHeader;
    notBmp[0] = 'P';
    EXPECT_FALSE(readRaw(notBmp));
}

TEST_F(BmpReading, FilesShorterThanTheirHeadersSayAreRefused) {
    Bmp fullPalette{false, 1, 1, 8, 0, "", std::string(1024, '\2'), "", std::string(4, '\0')};
    std::string bytes = bmpBytes(fullPalette);
    ASSERT_TRUE(readRaw(bytes));
    EXPECT_FALSE(readRaw(bytes.substr(0, 54 + 8)));  // the offset still claims 256 entries
    EXPECT_TRUE(image.isEmpty());

    Bmp truncated{false, 2, 2, 24};
    truncated.pixels = std::string(8, '\3');  // one row of two
    expectRefused(truncated);
    bytes = bmpBytes(Bmp{false, 1, 1, 24, 0, "", "", "", std::string(4, '\0')});
    EXPECT_FALSE(readRaw(bytes.substr(0, 30)));
}

TEST_F(BmpReading, AbsurdDimensionsAreRefusedWithoutOverflow) {
    const std::string row(16, '\0');
    expectRefused(Bmp{false, INT32_MAX, 1, 24, 0, "", "", "", row});
    expectRefused(Bmp{false, 1, INT32_MIN, 24, 0, "", "", "", row});
    expectRefused(Bmp{false, INT32_MIN, 1, 24, 0, "", "", "", row});
    expectRefused(Bmp{false, 0x40000000, 4, 32, 0, "", "", "", row});  // 4 x width wraps 32 bits
    expectRefused(Bmp{false, 0x55555556, 3, 24, 0, "", "", "", row});  // so does 3 x width
    expectRefused(Bmp{false, 0, 1, 24, 0, "", "", "", row});
    expectRefused(Bmp{false, 1, 0, 24, 0, "", "", "", row});
    expectRefused(Bmp{false, 16385, 16384, 32, 0, "", "", "", row});  // more than 1 << 28 pixels
    const long peakBefore = peakVirtualKilobytes();
    expectRefused(Bmp{false, 16384, -16384, 32, 0, "", "", "", row});  // allowed size, missing rows
    EXPECT_LT(peakVirtualKilobytes() - peakBefore, allocationAllowanceKilobytes);
}

TEST_F(BmpReading, PicturesOverTheSizeCapAreRefusedEvenWhenTheFileHoldsThem) {
    const std::string header = bmpBytes(Bmp{false, 16385, 16384, 8, 0, "", std::string(1024, '\0')});
    writeFile(path, header);
    std::filesystem::resize_file(path, header.size() + std::uintmax_t(16388) * 16384);  // sparse
    const long peakBefore = peakVirtualKilobytes();
    EXPECT_FALSE(readBmpFile(image, path, noColourKey));
    EXPECT_LT(peakVirtualKilobytes() - peakBefore, allocationAllowanceKilobytes);
}

// ---------------------------------------------------------------- PNG reading

struct Png {
    png_uint_32 width = 1, height = 1;
    int colourType = PNG_COLOR_TYPE_RGB;
    int bitDepth = 8;
    Bytes pixels{};  // rows as stored, no filter bytes
    std::vector<png_color> palette{};
    Bytes paletteAlpha{};  // becomes a tRNS chunk
    bool oneRowRepeated = false;
};

[[noreturn]] void testPngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

bool encodeTestPng(std::FILE* file, const Png& picture, png_bytepp rows) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, testPngError, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        return false;
    }
    png_init_io(png, file);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_IHDR(png, info, picture.width, picture.height, picture.bitDepth, picture.colourType,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!picture.palette.empty()) png_set_PLTE(png, info, picture.palette.data(), int(picture.palette.size()));
    if (!picture.paletteAlpha.empty())
        png_set_tRNS(png, info, picture.paletteAlpha.data(), int(picture.paletteAlpha.size()), nullptr);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

void writeTestPng(const std::string& path, Png picture) {
    const std::size_t rowBytes = picture.oneRowRepeated ? 0 : picture.pixels.size() / picture.height;
    std::vector<png_bytep> rows;
    for (png_uint_32 y = 0; y < picture.height; ++y) rows.push_back(&picture.pixels[y * rowBytes]);
    FileHandle file(std::fopen(path.c_str(), "wb"));
    ASSERT_TRUE(file && encodeTestPng(file.get(), picture, rows.data()));
}

class PngReading : public ::testing::Test {
protected:
    bool read(const Png& png, std::int32_t key = noColourKey) {
        writeTestPng(path, png);
        return readPngFile(image, path, key);
    }
    TempFolder folder;
    std::string path = folder.file("picture.png");
    Image image;
};

TEST_F(PngReading, RgbaKeepsItsAlphaAndIgnoresTheKey) {
    const Bytes rgba{255, 0, 128, 255, 1, 2, 3, 0, 4, 5, 6, 128};
    ASSERT_TRUE(read(Png{3, 1, PNG_COLOR_TYPE_RGB_ALPHA, 8, rgba}, purpleKey));
    EXPECT_EQ(image.width, 3);
    EXPECT_EQ(pixelsOf(image), rgba);
}

TEST_F(PngReading, SixteenBitChannelsKeepTheHighByte) {
    ASSERT_TRUE(read(Png{1, 1, PNG_COLOR_TYPE_RGB, 16, {0x12, 0xff, 0x34, 0x80, 0x56, 0x01}}));
    EXPECT_EQ(pixelsOf(image), (Bytes{0x12, 0x34, 0x56, 255}));
}

TEST_F(PngReading, RgbAndPaletteWithoutTransparencyTakeTheKey) {
    const Png rgb{2, 1, PNG_COLOR_TYPE_RGB, 8, {255, 0, 128, 255, 0, 127}};
    ASSERT_TRUE(read(rgb, purpleKey));
    EXPECT_EQ(pixelsOf(image), (Bytes{0, 0, 0, 0, 255, 0, 127, 255}));

    Png paletted{2, 2, PNG_COLOR_TYPE_PALETTE, 8, {0, 1, 1, 0}, {{255, 0, 128}, {9, 8, 7}}};
    ASSERT_TRUE(read(paletted, purpleKey));
    EXPECT_EQ(pixelsOf(image), (Bytes{0, 0, 0, 0, 9, 8, 7, 255, 9, 8, 7, 255, 0, 0, 0, 0}));
    ASSERT_TRUE(read(paletted, noColourKey));
    EXPECT_EQ(pixelsOf(image), (Bytes{255, 0, 128, 255, 9, 8, 7, 255, 9, 8, 7, 255, 255, 0, 128, 255}));

    paletted.paletteAlpha = {255, 60};  // alpha of its own: no key
    ASSERT_TRUE(read(paletted, purpleKey));
    EXPECT_EQ(pixelsOf(image), (Bytes{255, 0, 128, 255, 9, 8, 7, 60, 9, 8, 7, 60, 255, 0, 128, 255}));
}

TEST_F(PngReading, GreyIsOpaqueAndUnkeyedWhileGreyWithAlphaIsRefused) {
    ASSERT_TRUE(read(Png{2, 1, PNG_COLOR_TYPE_GRAY, 8, {0, 200}}, 0));
    EXPECT_EQ(pixelsOf(image), (Bytes{0, 0, 0, 255, 200, 200, 200, 255}));
    ASSERT_TRUE(read(Png{4, 1, PNG_COLOR_TYPE_GRAY, 2, {0x1b}}));  // levels 0, 1, 2, 3
    EXPECT_EQ(pixelsOf(image), (Bytes{0, 0, 0, 255, 85, 85, 85, 255, 170, 170, 170, 255, 255, 255, 255, 255}));

    testing::internal::CaptureStdout();
    EXPECT_FALSE(read(Png{1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {10, 20}}));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");  // refused without a word
    EXPECT_TRUE(image.isEmpty());
}

TEST_F(PngReading, SidesUpTo65536PixelsAreAccepted) {
    ASSERT_TRUE(read(Png{65536, 1, PNG_COLOR_TYPE_GRAY, 8, Bytes(65536, 5)}));
    EXPECT_EQ(image.width, 65536);
    EXPECT_FALSE(read(Png{65537, 1, PNG_COLOR_TYPE_GRAY, 8, Bytes(65537, 5)}));
    EXPECT_FALSE(read(Png{1, 65537, PNG_COLOR_TYPE_GRAY, 8, Bytes(65537, 5)}));
}

// Grey of 16385 x 16384 deflates to a few hundred kilobytes but would take a gigabyte as RGBA.
TEST_F(PngReading, PicturesOverTheSizeCapAreRefusedEvenWhenTheFileHoldsThem) {
    writeTestPng(path, Png{16385, 16384, PNG_COLOR_TYPE_GRAY, 8, Bytes(16385, 0), {}, {}, true});
    const long peakBefore = peakVirtualKilobytes();
    EXPECT_FALSE(readPngFile(image, path, noColourKey));
    EXPECT_LT(peakVirtualKilobytes() - peakBefore, allocationAllowanceKilobytes);
}

std::string pngWithCorrectedCrc(std::string bytes, std::size_t chunkStart) {
    const std::size_t length = std::size_t(std::uint8_t(bytes[chunkStart])) << 24 |
                               std::size_t(std::uint8_t(bytes[chunkStart + 1])) << 16 |
                               std::size_t(std::uint8_t(bytes[chunkStart + 2])) << 8 |
                               std::size_t(std::uint8_t(bytes[chunkStart + 3]));
    const auto* typeAndData = reinterpret_cast<const Bytef*>(bytes.data() + chunkStart + 4);
    const uLong crc = crc32(0L, typeAndData, uInt(length + 4));
    for (int byte = 0; byte < 4; ++byte) bytes[chunkStart + 8 + length + byte] = char(crc >> (24 - 8 * byte));
    return bytes;
}

TEST_F(PngReading, DamagedFilesAreRefused) {
    writeTestPng(path, Png{64, 64, PNG_COLOR_TYPE_RGB, 8, Bytes(64 * 64 * 3, 90)});
    const std::string good = readFile(path);
    ASSERT_TRUE(readPngFile(image, path, noColourKey));

    std::string damaged = good;
    damaged[good.find("IDAT") + 8] ^= 0x40;
    writeFile(path, damaged);
    EXPECT_FALSE(readPngFile(image, path, noColourKey));
    EXPECT_TRUE(image.isEmpty());
    writeFile(path, good.substr(0, good.size() / 2));
    EXPECT_FALSE(readPngFile(image, path, noColourKey));
    writeFile(path, good.substr(0, 20));
    EXPECT_FALSE(readPngFile(image, path, noColourKey));
}

TEST_F(PngReading, HugeClaimedSizeFromATinyFileFailsWithoutAllocatingForIt) {
    writeTestPng(path, Png{1, 1, PNG_COLOR_TYPE_RGB, 8, {1, 2, 3}});
    const std::string tiny = readFile(path);
    // 65535 x 65535 is beyond any budget; 16384 x 16384 (768 MiB) only beyond what deflate can
    // make of 70-odd bytes.
    const std::string sides65535("\0\0\xff\xff\0\0\xff\xff", 8), sides16384("\0\0\x40\0\0\0\x40\0", 8);
    for (const std::string& sides : {sides65535, sides16384}) {
        std::string bytes = tiny;
        bytes.replace(16, 8, sides);  // IHDR width and height
        writeFile(path, pngWithCorrectedCrc(bytes, 8));
        const long peakBefore = peakVirtualKilobytes();
        EXPECT_FALSE(readPngFile(image, path, noColourKey));
        EXPECT_LT(peakVirtualKilobytes() - peakBefore, allocationAllowanceKilobytes);
        EXPECT_TRUE(image.isEmpty());
    }
}

std::string pngChunk(const std::string& type, const std::string& data, std::uint32_t claimedLength) {
    std::string chunk = le32(0) + type + data + le32(0);
    for (int byte = 0; byte < 4; ++byte) chunk[std::size_t(byte)] = char(claimedLength >> (24 - 8 * byte));
    return chunk;
}

// Chunks the engine has no use for are skipped unread: a length field claiming 2 GiB costs
// nothing, and a well-formed one changes nothing.
TEST_F(PngReading, NoChunkCostsMoreThanTheChunkLimitWhateverItsKind) {
    writeTestPng(path, Png{2, 1, PNG_COLOR_TYPE_RGB, 8, {1, 2, 3, 4, 5, 6}});
    const std::string good = readFile(path);
    const std::size_t afterHeader = 8 + 25;
    for (const char* type : {"tEXt", "zTXt", "iTXt", "sPLT"}) {
        SCOPED_TRACE(type);
        const std::string hostile = good.substr(0, afterHeader) + pngChunk(type, std::string("k\0value", 7), 0x7FFFFFFF).substr(0, 15);
        ASSERT_EQ(hostile.size(), 48u);
        writeFile(path, hostile);
        const long peakBefore = peakVirtualKilobytes();
        EXPECT_FALSE(readPngFile(image, path, noColourKey));
        EXPECT_LT(peakVirtualKilobytes() - peakBefore, allocationAllowanceKilobytes);

        std::string withText = good;
        withText.insert(afterHeader, pngWithCorrectedCrc(pngChunk(type, std::string("k\0v", 3), 3), 0));
        writeFile(path, withText);
        ASSERT_TRUE(readPngFile(image, path, noColourKey));
        EXPECT_EQ(pixelsOf(image), (Bytes{1, 2, 3, 255, 4, 5, 6, 255}));
    }
}

// ---------------------------------------------------------------- writing

struct Picture {
    int width, height, rowLength;
    Bytes bgr{};  // bottom row first
};

// 3 x 2 pixels in rows of 5, the last two pixels of each row never to be written.
Picture sample() {
    return {3, 2, 5, {1, 2, 3, 4, 5, 6, 7, 8, 9, 99, 99, 99, 99, 99, 99,               // bottom
                      11, 12, 13, 14, 15, 16, 17, 18, 19, 99, 99, 99, 99, 99, 99}};   // top
}

class ImageWriting : public ::testing::Test {
protected:
    bool write(const std::string& name, const Picture& picture, KeyProbe probe = {}) {
        return writeImageFile(folder.file(name), picture.bgr.data(), picture.width, picture.height,
                              picture.rowLength, probe);
    }
    Bytes readBack(const std::string& name) {
        EXPECT_TRUE(readImageFile(image, folder.file(name), noColourKey));
        return pixelsOf(image);
    }
    TempFolder folder;
    Image image;
};

TEST_F(ImageWriting, BmpAndPngReadBackAsTheSamePixelsTopRowFirst) {
    const Bytes expected{13, 12, 11, 255, 16, 15, 14, 255, 19, 18, 17, 255,
                         3,  2,  1,  255, 6,  5,  4,  255, 9,  8,  7,  255};
    for (const char* name : {"shot.bmp", "shot.png"}) {
        ASSERT_TRUE(write(name, sample())) << name;
        EXPECT_EQ(readBack(name), expected) << name;
        EXPECT_EQ(image.width, 3);
    }
    EXPECT_EQ(readFile(folder.file("shot.png")).substr(1, 3), "PNG");
}

TEST_F(ImageWriting, BmpIsAPlainBottomUpFileWithFourByteRows) {
    ASSERT_TRUE(write("shot.bmp", sample()));
    const std::string expectedHeader = "BM" + le32(78) + le32(0) + le32(54) + le32(40) + le32(3) + le32(2) +
                                       le16(1) + le16(24) + le32(0) + le32(0) + le32(10000) + le32(10000) +
                                       le32(0) + le32(0);
    const std::string padding(3, '\0');
    const std::string expectedRows = std::string{1, 2, 3, 4, 5, 6, 7, 8, 9} + padding +
                                     std::string{11, 12, 13, 14, 15, 16, 17, 18, 19} + padding;
    EXPECT_EQ(readFile(folder.file("shot.bmp")), expectedHeader + expectedRows);
}

TEST_F(ImageWriting, BmpRewritesTheKeyColourAsPurple) {
    Picture picture{3, 1, 3, {0, 0, 0, 30, 20, 10, 30, 20, 11}};
    ASSERT_TRUE(write("nokey.bmp", picture));
    EXPECT_EQ(readBack("nokey.bmp"), (Bytes{255, 0, 128, 255, 10, 20, 30, 255, 11, 20, 30, 255}));
    ASSERT_TRUE(write("key.bmp", picture, KeyProbe{true, 10, 20, 30}));
    EXPECT_EQ(readBack("key.bmp"), (Bytes{0, 0, 0, 255, 255, 0, 128, 255, 11, 20, 30, 255}));
}

TEST_F(ImageWriting, PngMakesOnlyExactKeyMatchesTransparent) {
    Picture picture{4, 1, 4, {0, 0, 0, 30, 20, 10, 30, 20, 11, 31, 20, 10}};
    ASSERT_TRUE(write("key.png", picture, KeyProbe{true, 10, 20, 30}));
    EXPECT_EQ(readBack("key.png"), (Bytes{0, 0, 0, 255, 0, 0, 255, 0, 11, 20, 30, 255, 10, 20, 31, 255}));
    ASSERT_TRUE(write("nokey.png", picture));
    EXPECT_EQ(readBack("nokey.png"), (Bytes{0, 0, 0, 255, 10, 20, 30, 255, 11, 20, 30, 255, 10, 20, 31, 255}));
}

TEST_F(ImageWriting, OnlyNamesEndingInDotPngAreWrittenAsPng) {
    EXPECT_TRUE(isPngFileName("shot.PNG"));
    EXPECT_TRUE(isPngFileName("a.png"));
    EXPECT_TRUE(isPngFileName("dir/x.pNg"));
    EXPECT_FALSE(isPngFileName(".png"));
    EXPECT_FALSE(isPngFileName("a.pn"));
    EXPECT_FALSE(isPngFileName("x.jpg"));
    EXPECT_FALSE(isPngFileName("xxpng"));
    EXPECT_FALSE(isPngFileName("a.png.bmp"));
    for (const char* name : {"a.pn", "x.jpg", "noextension"}) {
        ASSERT_TRUE(write(name, sample()));
        EXPECT_EQ(readFile(folder.file(name)).substr(0, 2), "BM") << name;
    }
    ASSERT_TRUE(write("UPPER.PNG", sample()));
    EXPECT_EQ(readFile(folder.file("UPPER.PNG")).substr(1, 3), "PNG");
}

TEST_F(ImageWriting, ReplacesOldFilesAndTakesBackslashes) {
    writeFile(folder.file("old.bmp"), std::string(5000, 'x'));
    ASSERT_TRUE(write("old.bmp", sample()));
    EXPECT_EQ(readFile(folder.file("old.bmp")).size(), 78u);

    std::filesystem::create_directory(folder.file("sub"));
    ASSERT_TRUE(write("sub\\win.png", sample()));
    EXPECT_EQ(readBack("sub/win.png").size(), 24u);
}

// Writes a picture in a child process whose files may not grow past 100 bytes, so that writing
// fails midway; true when the write reported the failure and left no file behind.
bool childFailsToWriteAndCleansUp(const std::string& path) {
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{100, 100};
        setrlimit(RLIMIT_FSIZE, &limit);
        const Picture big{64, 64, 64, Bytes(64 * 64 * 3, 77)};
        const bool written = writeImageFile(path, big.bgr.data(), big.width, big.height, big.rowLength, {});
        _exit(!written && !std::filesystem::exists(path) ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(ImageWriting, FailuresReturnFalseAndLeaveNoFile) {
    EXPECT_FALSE(write("missing/folder.bmp", sample()));
    EXPECT_FALSE(write("missing/folder.png", sample()));
    EXPECT_FALSE(write("narrow.bmp", Picture{3, 2, 2, sample().bgr}));  // rows shorter than the width
    EXPECT_FALSE(std::filesystem::exists(folder.file("narrow.bmp")));
    EXPECT_TRUE(childFailsToWriteAndCleansUp(folder.file("full.bmp")));
    EXPECT_TRUE(childFailsToWriteAndCleansUp(folder.file("full.png")));
}

} // namespace
} // namespace tarvoke
