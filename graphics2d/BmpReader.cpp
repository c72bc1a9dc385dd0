// BMP files as paint programs of the game's era save them: uncompressed 8-bit paletted, 24-bit
// and 32-bit pictures with the Windows 3 (40-byte) or OS/2 1.x (12-byte) header. Newer headers
// are refused here; the caller then tries the file as PNG.
#include <algorithm>
#include <vector>
#include "graphics2d/ImageFiles.h"
#include "values/ByteOrder.h"

namespace tarvoke {
namespace {

constexpr std::int64_t fileHeaderBytes = 14;
constexpr std::uint32_t coreHeaderBytes = 12;
constexpr std::uint32_t infoHeaderBytes = 40;
constexpr std::uint32_t bitFieldsCompression = 3;
constexpr std::int64_t bitFieldMaskBytes = 12;
// Offsets up to the end of a 40-byte header leave no room for a colour table.
constexpr std::int64_t lastOffsetWithoutTable = 54;
constexpr std::int64_t maxPaletteEntries = 256;
constexpr std::int64_t maxPixels = std::int64_t(1) << 28;

struct Rgb {
    std::uint8_t red = 0, green = 0, blue = 0;
};
using Palette = std::vector<Rgb>;

struct BmpLayout {
    std::int64_t pixelOffset = 0;
    std::uint32_t headerBytes = 0;
    std::int64_t headersEnd = 0;  // where a colour table would start
    std::int64_t width = 0;
    std::int64_t rawHeight = 0;   // signed as stored: negative means top row first
    int bitsPerPixel = 0;

    bool topDown() const { return rawHeight < 0; }
    std::int64_t height() const { return rawHeight < 0 ? -rawHeight : rawHeight; }
    int bytesPerPixel() const { return bitsPerPixel / 8; }
    std::int64_t rowBytes() const { return (bytesPerPixel() * width + 3) / 4 * 4; }
};

std::int64_t signed32(const std::uint8_t* bytes) { return std::int32_t(readLittleEndian32(bytes)); }

bool readExactly(std::FILE* file, std::uint8_t* into, std::int64_t count) {
    return std::fread(into, 1, std::size_t(count), file) == std::size_t(count);
}

bool readAt(std::FILE* file, std::int64_t offset, std::uint8_t* into, std::int64_t count) {
    return std::fseek(file, long(offset), SEEK_SET) == 0 && readExactly(file, into, count);
}

// Bit fields are only worth reading when they describe the plain layout of an uncompressed file.
bool hasPlainBitFields(std::FILE* file) {
    std::uint8_t masks[bitFieldMaskBytes];
    return readExactly(file, masks, bitFieldMaskBytes) && readLittleEndian32(masks) == 0x00FF0000u &&
           readLittleEndian32(masks + 4) == 0x0000FF00u && readLittleEndian32(masks + 8) == 0x000000FFu;
}

bool parseCoreHeader(const std::uint8_t* header, BmpLayout& layout) {
    layout.width = readLittleEndian16(header + 4);
    layout.rawHeight = readLittleEndian16(header + 6);
    layout.bitsPerPixel = int(readLittleEndian16(header + 10));
    return true;
}

bool parseInfoHeader(std::FILE* file, const std::uint8_t* header, BmpLayout& layout) {
    layout.width = signed32(header + 4);
    layout.rawHeight = signed32(header + 8);
    layout.bitsPerPixel = int(readLittleEndian16(header + 14));
    const std::uint32_t compression = readLittleEndian32(header + 16);
    if (compression == 0) return true;
    if (compression != bitFieldsCompression || layout.bitsPerPixel != 32) return false;
    if (!hasPlainBitFields(file)) return false;
    layout.headersEnd += bitFieldMaskBytes;
    return true;
}

bool readHeaders(std::FILE* file, BmpLayout& layout) {
    std::uint8_t bytes[fileHeaderBytes + infoHeaderBytes];
    if (!readExactly(file, bytes, fileHeaderBytes + 4) || bytes[0] != 'B' || bytes[1] != 'M') return false;
    layout.pixelOffset = readLittleEndian32(bytes + 10);
    layout.headerBytes = readLittleEndian32(bytes + 14);
    if (layout.headerBytes != coreHeaderBytes && layout.headerBytes != infoHeaderBytes) return false;
    if (!readExactly(file, bytes + fileHeaderBytes + 4, layout.headerBytes - 4)) return false;
    layout.headersEnd = fileHeaderBytes + layout.headerBytes;
    const std::uint8_t* header = bytes + fileHeaderBytes;
    return layout.headerBytes == coreHeaderBytes ? parseCoreHeader(header, layout)
                                                 : parseInfoHeader(file, header, layout);
}

// Everything is checked against the file's size so that a lying header cannot make us allocate.
bool isSane(const BmpLayout& layout, std::int64_t fileSize) {
    const int bits = layout.bitsPerPixel;
    if (bits != 8 && bits != 24 && bits != 32) return false;
    if (layout.width <= 0 || layout.rawHeight == 0) return false;
    if (layout.width * layout.height() > maxPixels) return false;
    if (layout.pixelOffset < layout.headersEnd) return false;
    return layout.rowBytes() * layout.height() <= fileSize - layout.pixelOffset;
}

bool readPalette(std::FILE* file, const BmpLayout& layout, Palette& palette) {
    if (layout.pixelOffset <= lastOffsetWithoutTable) return false;
    const std::int64_t entryBytes = layout.headerBytes == coreHeaderBytes ? 3 : 4;
    const std::int64_t entries =
        std::min((layout.pixelOffset - layout.headersEnd) / entryBytes, maxPaletteEntries);
    if (entries == 0) return false;
    std::vector<std::uint8_t> table(std::size_t(entries * entryBytes));
    if (!readAt(file, layout.headersEnd, table.data(), entries * entryBytes)) return false;
    palette.resize(std::size_t(entries));
    for (std::size_t entry = 0; entry < palette.size(); ++entry) {
        const std::uint8_t* bgr = &table[entry * std::size_t(entryBytes)];
        palette[entry] = Rgb{bgr[2], bgr[1], bgr[0]};
    }
    return true;
}

Rgb colourAt(const std::uint8_t* row, std::int64_t x, int bytesPerPixel, const Palette& palette) {
    if (bytesPerPixel == 1) {
        const std::size_t index = row[x];
        return index < palette.size() ? palette[index] : Rgb{};
    }
    const std::uint8_t* bgr = row + x * bytesPerPixel;
    return Rgb{bgr[2], bgr[1], bgr[0]};
}

void storePixel(std::uint8_t* rgba, Rgb colour, std::int32_t colourKey) {
    const bool keyed = matchesColourKey(colour.red, colour.green, colour.blue, colourKey);
    rgba[0] = keyed ? 0 : colour.red;
    rgba[1] = keyed ? 0 : colour.green;
    rgba[2] = keyed ? 0 : colour.blue;
    rgba[3] = keyed ? 0 : 255;
}

bool readRows(std::FILE* file, const BmpLayout& layout, const Palette& palette, std::int32_t colourKey,
              Image& image) {
    if (std::fseek(file, long(layout.pixelOffset), SEEK_SET) != 0) return false;
    const std::int64_t height = layout.height();
    image.width = int(layout.width);
    image.height = int(height);
    image.pixels.resize(std::size_t(layout.width * height * 4));
    std::vector<std::uint8_t> row(std::size_t(layout.rowBytes()));
    for (std::int64_t fileRow = 0; fileRow < height; ++fileRow) {
        if (!readExactly(file, row.data(), layout.rowBytes())) return false;
        const std::int64_t y = layout.topDown() ? fileRow : height - 1 - fileRow;
        std::uint8_t* rgba = &image.pixels[std::size_t(y * layout.width * 4)];
        for (std::int64_t x = 0; x < layout.width; ++x)
            storePixel(rgba + x * 4, colourAt(row.data(), x, layout.bytesPerPixel(), palette), colourKey);
    }
    return true;
}

bool decode(std::FILE* file, Image& image, std::int32_t colourKey, const SizeCheck& fits) {
    const std::int64_t fileSize = sizeOfOpenFile(file);
    BmpLayout layout;
    if (fileSize < 0 || !readHeaders(file, layout) || !isSane(layout, fileSize)) return false;
    if (fits && !fits(int(layout.width), int(layout.height()))) return false;
    Palette palette;
    if (layout.bitsPerPixel == 8 && !readPalette(file, layout, palette)) return false;
    return readRows(file, layout, palette, colourKey, image);
}

} // namespace

bool readBmpFile(Image& image, const std::string& path, std::int32_t colourKey, const SizeCheck& fits) {
    FileHandle file = platform::openFileForReading(path);
    if (file && decode(file.get(), image, colourKey, fits)) return true;
    image.clear();
    return false;
}

} // namespace tarvoke
