#include "platform/sdl/SdlText.h"
#include <cstdint>

namespace tarvoke::platform {
namespace {

// Code points of the bytes 0x80..0x9F; 0 marks the five bytes Windows-1252 leaves undefined.
constexpr std::uint16_t highControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

std::uint32_t codePointOf(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) {
        std::uint16_t mapped = highControls[byte - 0x80];
        return mapped ? mapped : 0xFFFD;
    }
    return byte;
}

void appendUtf8(std::string& out, std::uint32_t codePoint) {
    if (codePoint < 0x80) {
        out += char(codePoint);
    } else if (codePoint < 0x800) {
        out += char(0xC0 | (codePoint >> 6));
        out += char(0x80 | (codePoint & 0x3F));
    } else {
        out += char(0xE0 | (codePoint >> 12));
        out += char(0x80 | ((codePoint >> 6) & 0x3F));
        out += char(0x80 | (codePoint & 0x3F));
    }
}

// False when Windows-1252 has no byte for the code point.
bool byteOfCodePoint(std::uint32_t codePoint, char& byte) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint < 0x100)) {
        byte = char(codePoint);
        return true;
    }
    for (int i = 0; i < 32; ++i) {
        if (highControls[i] == codePoint) {
            byte = char(0x80 + i);
            return true;
        }
    }
    return false;
}

} // namespace

std::string utf8FromWindows1252(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (unsigned char byte : bytes) appendUtf8(out, codePointOf(byte));
    return out;
}

std::string windows1252FromUtf8(const std::string& utf8, bool dropMissing) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        unsigned char lead = utf8[i];
        int extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
        std::uint32_t codePoint = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra && i + k < utf8.size(); ++k)
            codePoint = (codePoint << 6) | (std::uint8_t(utf8[i + k]) & 0x3F);
        char byte = '?';
        if (byteOfCodePoint(codePoint, byte) || !dropMissing) out += byte;
        i += std::size_t(extra) + 1;
    }
    return out;
}

} // namespace tarvoke::platform
