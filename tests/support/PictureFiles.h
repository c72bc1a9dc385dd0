// Writes small picture files for tests: 24-bit BMPs pixel by pixel, RGBA PNGs.
#pragma once
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace tarvoke::test {

struct Rgb {
    std::uint8_t red, green, blue;
};
inline bool operator==(const Rgb& a, const Rgb& b) { return a.red == b.red && a.green == b.green && a.blue == b.blue; }
inline std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "(" << int(c.red) << "," << int(c.green) << "," << int(c.blue) << ")";
}

// A 24-bit bottom-up BMP; `pixels` holds width x height colours, top row first.
void writeBmp24(const std::string& path, int width, int height, const std::vector<Rgb>& pixels);
// A picture of one colour with a few pixels set apart.
std::vector<Rgb> filled(int width, int height, Rgb colour);
void put(std::vector<Rgb>& pixels, int width, int x, int y, Rgb colour);

} // namespace tarvoke::test
