// Font geometry, and the built-in font's picture made from its glyph table.
#include "graphics2d/Fonts.h"
#include "graphics2d/OpenGLKestrel.h"

namespace tarvoke {
namespace {

constexpr int builtinCellSide = 8;
constexpr std::uint8_t glyphGrey = 255;
constexpr std::uint8_t ringGrey = 8;

bool isGlyphPixel(std::uint32_t glyph, int column, int row) {
    if (column < 0 || column >= builtinGlyphColumns || row < 0 || row >= builtinGlyphRows) return false;
    return (glyph >> (row * builtinGlyphColumns + column)) & 1u;
}

bool touchesGlyph(std::uint32_t glyph, int column, int row) {
    return isGlyphPixel(glyph, column - 1, row) || isGlyphPixel(glyph, column + 1, row) ||
           isGlyphPixel(glyph, column, row - 1) || isGlyphPixel(glyph, column, row + 1);
}

void paintOpaqueGrey(Image& image, int x, int y, std::uint8_t grey) {
    std::uint8_t* pixel = &image.pixels[(std::size_t(y) * std::size_t(image.width) + std::size_t(x)) * 4];
    pixel[0] = pixel[1] = pixel[2] = grey;
    pixel[3] = 255;
}

// The glyph's top-left pixel sits at cell column 1, row 1. The dark ring keeps white text
// readable on white backgrounds; it stays within columns 0..6, so column 7 always separates
// neighbouring characters.
void paintGlyphCell(Image& image, int code) {
    const std::uint32_t glyph = builtinGlyph(code);
    const int left = code % fontColumns * builtinCellSide, top = code / fontColumns * builtinCellSide;
    for (int cellRow = 0; cellRow < builtinCellSide; ++cellRow) {
        for (int cellColumn = 0; cellColumn < builtinCellSide - 1; ++cellColumn) {
            const int column = cellColumn - 1, row = cellRow - 1;
            if (isGlyphPixel(glyph, column, row))
                paintOpaqueGrey(image, left + cellColumn, top + cellRow, glyphGrey);
            else if (touchesGlyph(glyph, column, row))
                paintOpaqueGrey(image, left + cellColumn, top + cellRow, ringGrey);
        }
    }
}

} // namespace

FontGeometry fontGeometry(int pictureWidth, int pictureHeight) {
    FontGeometry geometry;
    geometry.rows = pictureWidth < pictureHeight ? 16 : 8;
    geometry.cellWidth = pictureWidth / fontColumns;
    geometry.cellHeight = pictureHeight / geometry.rows;
    return geometry;
}

CharacterCell characterCell(char byte, const FontGeometry& geometry) {
    const int code = static_cast<unsigned char>(byte) % geometry.characterCount();
    return {code % fontColumns, code / fontColumns};
}

Image builtinFontImage() {
    Image image;
    image.width = builtinFontWidth;
    image.height = builtinFontHeight;
    image.pixels.assign(std::size_t(builtinFontWidth) * std::size_t(builtinFontHeight) * 4, 0);
    const int characters = fontGeometry(builtinFontWidth, builtinFontHeight).characterCount();
    for (int code = 0; code < characters; ++code) paintGlyphCell(image, code);
    return image;
}

void buildBuiltinFont(int font) {
    if (!openGLKestrel) return;
    SpriteStore& store = openGLKestrel->sprites;
    const int id = firstFontSlot + font;
    store.freeSprite(id);
    TextureOptions options;
    options.nearest = true;
    SpriteSlot& slot = store.slot(id);
    if (!makeTexture(builtinFontImage(), 0, 0, 0, 0, slot.texture, options)) return;
    slot.textureWidth = slot.width = builtinFontWidth;
    slot.textureHeight = slot.height = builtinFontHeight;
}

} // namespace tarvoke
