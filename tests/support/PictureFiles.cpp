#include "support/PictureFiles.h"
#include "support/TestSupport.h"

namespace tarvoke::test {
namespace {

void put16(std::string& bytes, std::uint32_t value) {
    bytes += char(value & 0xFF);
    bytes += char((value >> 8) & 0xFF);
}
void put32(std::string& bytes, std::uint32_t value) {
    put16(bytes, value & 0xFFFF);
    put16(bytes, value >> 16);
}

} // namespace

void writeBmp24(const std::string& path, int width, int height, const std::vector<Rgb>& pixels) {
    const std::uint32_t rowBytes = (std::uint32_t(width) * 3 + 3) & ~3u;
    std::string bytes = "BM";
    put32(bytes, 54 + rowBytes * std::uint32_t(height));
    put32(bytes, 0);
    put32(bytes, 54);
    put32(bytes, 40);
    put32(bytes, std::uint32_t(width));
    put32(bytes, std::uint32_t(height));
    put16(bytes, 1);
    put16(bytes, 24);
    for (int field = 0; field < 6; ++field) put32(bytes, 0);
    for (int row = height - 1; row >= 0; --row) {
        for (int x = 0; x < width; ++x) {
            const Rgb& pixel = pixels[std::size_t(row * width + x)];
            bytes += char(pixel.blue);
            bytes += char(pixel.green);
            bytes += char(pixel.red);
        }
        bytes.append(rowBytes - std::uint32_t(width) * 3, '\0');
    }
    writeFile(path, bytes);
}

std::vector<Rgb> filled(int width, int height, Rgb colour) { return std::vector<Rgb>(std::size_t(width * height), colour); }

void put(std::vector<Rgb>& pixels, int width, int x, int y, Rgb colour) { pixels[std::size_t(y * width + x)] = colour; }

} // namespace tarvoke::test
