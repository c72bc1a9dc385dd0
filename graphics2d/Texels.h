// The CPU steps of building a texture: texel buffers are W x H RGBA, texel row 0 holding the
// picture's bottom row (pictures are stored upside down; drawing relies on it).
#pragma once
#include <cstdint>
#include <vector>
#include "graphics2d/Image.h"

namespace tarvoke {

using Texels = PixelBytes;

// The rectangle x, y, w, h of the image, flipped into a zeroed W x H buffer: the picture's top
// row lands in texel row h - 1; texels from column w and row h up stay transparent black.
Texels copyUpsideDown(const Image& image, int x, int y, int w, int h, int textureWidth, int textureHeight);

// Gives each transparent texel the average colour of its opaque neighbours (only neighbours
// inside the border ring count), so linear filtering shows no dark fringe at keyed edges.
void bleedColours(Texels& texels, int width, int height);

// The blue channel read as a height field (wrapping at the edges) turned into a normal map.
Texels normalMapOf(const Texels& texels, int width, int height);

// The next smaller mipmap level (each side halved, at least 1), from rows 2r and 2r + 1 and
// columns 2i and 2i + 1 of the level given.
Texels nextMipLevel(const Texels& level, int width, int height, int& nextWidth, int& nextHeight);

} // namespace tarvoke
