// Reading back what the engine drew: pixels of the back buffer and texels of textures.
#pragma once
#include <GL/gl.h>
#include <array>
#include <cstdint>
#include <vector>
#include "support/PictureFiles.h"

namespace tarvoke::test {

// One pixel of the back buffer, top-left origin, as R, G, B, A.
std::array<std::uint8_t, 4> readPixel(int x, int y);
// The same pixel without its alpha.
Rgb colourAt(int x, int y);
// An area of the back buffer as RGBA, top row first.
std::vector<std::uint8_t> readScreenRgba(int left, int top, int width, int height);
// Level `level` of a texture as RGBA texels, texel row 0 first.
std::vector<std::uint8_t> textureTexels(GLuint texture, int width, int height, int level = 0);
// Fills the rectangle with a flat colour through plain GL (no engine drawing involved).
void fillRect(int x, int y, int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b);

} // namespace tarvoke::test
