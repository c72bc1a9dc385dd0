// Little-endian numbers read off byte buffers: the byte order of every file and message format
// the engine reads (BMP, WAV, .ddd, the packed archive, session messages).
#pragma once
#include <cstdint>

namespace tarvoke {

inline std::uint16_t readLittleEndian16(const std::uint8_t* bytes) {
    return std::uint16_t(bytes[0] | bytes[1] << 8);
}

inline std::uint32_t readLittleEndian32(const std::uint8_t* bytes) {
    return std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 | std::uint32_t(bytes[2]) << 16 |
           std::uint32_t(bytes[3]) << 24;
}

} // namespace tarvoke
