// Writes 8-bit RGBA pictures as PNG files through libpng.
#pragma once
#include <cstdint>
#include <string>

namespace tarvoke {

// `rgba` holds width x height pixels, top row first, four bytes each. False on any failure;
// a partly written file is removed.
bool writePngFile(const std::string& path, int width, int height, const std::uint8_t* rgba);

} // namespace tarvoke
