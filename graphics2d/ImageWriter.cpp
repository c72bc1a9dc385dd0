// Saving what the game drew, as OpenGL hands it back (blue, green, red; bottom row first), as a
// 24-bit BMP or an RGBA PNG.
#include <utility>
#include <vector>
#include "graphics2d/ImageFiles.h"
#include "graphics2d/PngWriter.h"
#include "platform/Files.h"

namespace tarvoke {
namespace {

constexpr std::size_t bmpHeaderBytes = 54;
constexpr std::uint32_t bmpInfoHeaderBytes = 40;
constexpr std::uint32_t bmpPixelsPerMetre = 10000;

struct Bgr {
    std::uint8_t blue = 0, green = 0, red = 0;
};

// BMP has no transparency, so key-coloured pixels are written in the colour that the loader's
// default key (0x8000ff) makes transparent again.
constexpr Bgr bmpKeyReplacement{128, 0, 255};

const std::uint8_t* bufferRow(const std::uint8_t* bgrRows, int row, int rowLength) {
    return bgrRows + std::size_t(row) * std::size_t(rowLength) * 3;
}

bool isProbedKey(const std::uint8_t* bgr, const KeyProbe& probe) {
    return probe.present && bgr[0] == probe.blue && bgr[1] == probe.green && bgr[2] == probe.red;
}

std::vector<std::uint8_t> topDownRgba(const std::uint8_t* bgrRows, int width, int height, int rowLength,
                                      const KeyProbe& probe) {
    std::vector<std::uint8_t> rgba(std::size_t(width) * std::size_t(height) * 4);
    std::uint8_t* out = rgba.data();
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* bgr = bufferRow(bgrRows, height - 1 - y, rowLength);
        for (int x = 0; x < width; ++x, bgr += 3, out += 4) {
            const bool transparent = isProbedKey(bgr, probe);
            out[0] = transparent ? 0 : bgr[2];
            out[1] = transparent ? 0 : bgr[1];
            out[2] = transparent ? 255 : bgr[0];
            out[3] = transparent ? 0 : 255;
        }
    }
    return rgba;
}

void putLittleEndian16(std::uint8_t* at, std::uint32_t value) {
    at[0] = std::uint8_t(value);
    at[1] = std::uint8_t(value >> 8);
}

void putLittleEndian32(std::uint8_t* at, std::uint32_t value) {
    putLittleEndian16(at, value);
    putLittleEndian16(at + 2, value >> 16);
}

std::vector<std::uint8_t> bmpHeader(int width, int height, std::uint32_t fileSize) {
    std::vector<std::uint8_t> header(bmpHeaderBytes, 0);
    header[0] = 'B';
    header[1] = 'M';
    putLittleEndian32(&header[2], fileSize);
    putLittleEndian32(&header[10], std::uint32_t(bmpHeaderBytes));
    putLittleEndian32(&header[14], bmpInfoHeaderBytes);
    putLittleEndian32(&header[18], std::uint32_t(width));
    putLittleEndian32(&header[22], std::uint32_t(height));
    putLittleEndian16(&header[26], 1);
    putLittleEndian16(&header[28], 24);
    putLittleEndian32(&header[38], bmpPixelsPerMetre);
    putLittleEndian32(&header[42], bmpPixelsPerMetre);
    return header;
}

// Without a probe the key is black, the colour a game clears to when it sets no key.
void fillBmpRow(const std::uint8_t* bgr, int width, const KeyProbe& probe, std::vector<std::uint8_t>& row) {
    const KeyProbe key = probe.present ? probe : KeyProbe{true, 0, 0, 0};
    for (int x = 0; x < width; ++x, bgr += 3) {
        const Bgr colour = isProbedKey(bgr, key) ? bmpKeyReplacement : Bgr{bgr[0], bgr[1], bgr[2]};
        row[std::size_t(x) * 3] = colour.blue;
        row[std::size_t(x) * 3 + 1] = colour.green;
        row[std::size_t(x) * 3 + 2] = colour.red;
    }
}

bool writeBytes(std::FILE* file, const std::vector<std::uint8_t>& bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

bool writeBmp(const std::string& path, const std::uint8_t* bgrRows, int width, int height, int rowLength,
              const KeyProbe& probe) {
    const std::uint64_t rowBytes = (3 * std::uint64_t(width) + 3) / 4 * 4;
    const std::uint64_t fileSize = bmpHeaderBytes + rowBytes * std::uint64_t(height);
    if (fileSize > UINT32_MAX) return false;
    FileHandle file = platform::createFileForWriting(path);
    if (!file) return false;
    bool written = writeBytes(file.get(), bmpHeader(width, height, std::uint32_t(fileSize)));
    std::vector<std::uint8_t> row(rowBytes, 0);
    for (int y = 0; y < height && written; ++y) {
        fillBmpRow(bufferRow(bgrRows, y, rowLength), width, probe, row);
        written = writeBytes(file.get(), row);
    }
    return closeWrittenFile(std::move(file), path, written);
}

} // namespace

bool writeImageFile(const std::string& path, const std::uint8_t* bgrRows, int width, int height,
                    int rowLength, const KeyProbe& probe) {
    if (!bgrRows || width <= 0 || height <= 0 || rowLength < width) return false;
    const std::string filePath = platform::nativePath(path);
    if (!isPngFileName(filePath)) return writeBmp(filePath, bgrRows, width, height, rowLength, probe);
    return writePngFile(filePath, width, height, topDownRgba(bgrRows, width, height, rowLength, probe).data());
}

} // namespace tarvoke
