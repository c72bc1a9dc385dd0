// Bitmap fonts: a font is a picture in one of the 32 font slots, cut into a grid of 16 columns
// of equally sized character cells. The built-in font stands in whenever a font file is missing.
#pragma once
#include <cstdint>
#include "graphics2d/Image.h"

namespace tarvoke {

constexpr int fontCount = 32;

// The font slot text is printed with: 0..31, 0 at start-up; set by setFont and loadFont.
extern int currentFont;
constexpr int fontColumns = 16;

struct FontGeometry {
    int rows = 0;        // 16 rows (256 characters) for a picture taller than wide, else 8 (128)
    int cellWidth = 0;
    int cellHeight = 0;
    int characterCount() const { return rows * fontColumns; }
};

struct CharacterCell {
    int column = 0;
    int row = 0;         // counted from the top of the picture
};

FontGeometry fontGeometry(int pictureWidth, int pictureHeight);

// The cell showing a text byte: the byte is unsigned and wraps around the font's characters,
// so byte 193 shows character 65 in a font of 128.
CharacterCell characterCell(char byte, const FontGeometry& geometry);

// ---- the built-in font: 128 x 64, 8 rows of 8 x 8 cells, a 5 x 6 glyph in each of codes 32..127
constexpr int builtinFontWidth = 128;
constexpr int builtinFontHeight = 64;
constexpr int builtinGlyphColumns = 5;
constexpr int builtinGlyphRows = 6;

// Bit (row x 5 + column) is set for each glyph pixel; 0 for codes without a glyph.
std::uint32_t builtinGlyph(int code);
// The font's picture: white glyphs, each ringed by dark grey, on transparent black.
Image builtinFontImage();
// Puts the built-in font into font slot `font` (0..31), replacing what was there.
void buildBuiltinFont(int font);

} // namespace tarvoke
