// The built-in font's glyph table, drawn as a sheet of codes 32..127 so that the shapes can be
// read and edited. Each glyph is 5 x 6 pixels; digits and capitals keep to columns 1..3 and rows
// 0..4 so that a line of text reads evenly, and lower-case letters hang their descenders into
// row 5.
#include <array>
#include "graphics2d/Fonts.h"

namespace tarvoke {
namespace {

constexpr int firstGlyphCode = 32;
constexpr int glyphCount = 96;
constexpr int glyphsPerStrip = 8;
constexpr int stripLineLength = glyphsPerStrip * (builtinGlyphColumns + 1) - 1;

// Eight glyphs side by side per strip, one line per glyph row; '#' is ink.
constexpr const char* glyphSheet[] = {
    // 32..39: space ! " # $ % & '
    "..... ..#.. .#.#. .#.#. .#### ##..# .##.. ..#..",
    "..... ..#.. .#.#. ##### #.#.. ##.#. #..#. ..#..",
    "..... ..#.. ..... .#.#. .###. ..#.. .##.# .....",
    "..... ..... ..... ##### ..#.# .#.## #..#. .....",
    "..... ..#.. ..... .#.#. ####. #..## .##.# .....",
    "..... ..... ..... ..... ..... ..... ..... .....",
    // 40..47: ( ) * + , - . /
    "...#. .#... ..... ..... ..... ..... ..... ...#.",
    "..#.. ..#.. .#.#. ..#.. ..... ..... ..... ...#.",
    "..#.. ..#.. ..#.. .###. ..... .###. ..... ..#..",
    "..#.. ..#.. .#.#. ..#.. ..#.. ..... ..... .#...",
    "...#. .#... ..... ..... ..#.. ..... ..#.. .#...",
    "..... ..... ..... ..... .#... ..... ..... .....",
    // 48..55: 0 1 2 3 4 5 6 7
    ".###. ..#.. .###. .###. .#.#. .###. .###. .###.",
    ".#.#. .##.. ...#. ...#. .#.#. .#... .#... ...#.",
    ".#.#. ..#.. .###. ..##. .###. .###. .###. ...#.",
    ".#.#. ..#.. .#... ...#. ...#. ...#. .#.#. ..#..",
    ".###. .###. .###. .###. ...#. .###. .###. ..#..",
    "..... ..... ..... ..... ..... ..... ..... .....",
    // 56..63: 8 9 : ; < = > ?
    ".###. .###. ..... ..... ...#. ..... .#... .###.",
    ".#.#. .#.#. ..#.. ..#.. ..#.. .###. ..#.. ...#.",
    ".###. .###. ..... ..... .#... ..... ...#. ..##.",
    ".#.#. ...#. ..#.. ..#.. ..#.. .###. ..#.. .....",
    ".###. .###. ..... ..#.. ...#. ..... .#... ..#..",
    "..... ..... ..... .#... ..... ..... ..... .....",
    // 64..71: @ A B C D E F G
    ".###. .###. .##.. .###. .##.. .###. .###. .###.",
    "#.#.# .#.#. .#.#. .#... .#.#. .#... .#... .#...",
    "#.### .###. .##.. .#... .#.#. .##.. .##.. .#.#.",
    "#.... .#.#. .#.#. .#... .#.#. .#... .#... .#.#.",
    ".###. .#.#. .##.. .###. .##.. .###. .#... .###.",
    "..... ..... ..... ..... ..... ..... ..... .....",
    // 72..79: H I J K L M N O
    ".#.#. .###. ...#. .#.#. .#... .#.#. .##.. ..#..",
    ".#.#. ..#.. ...#. .#.#. .#... .###. .#.#. .#.#.",
    ".###. ..#.. ...#. .##.. .#... .###. .#.#. .#.#.",
    ".#.#. ..#.. .#.#. .#.#. .#... .#.#. .#.#. .#.#.",
    ".#.#. .###. .###. .#.#. .###. .#.#. .#.#. ..#..",
    "..... ..... ..... ..... ..... ..... ..... .....",
    // 80..87: P Q R S T U V W
    ".###. .###. .##.. ..##. .###. .#.#. .#.#. .#.#.",
    ".#.#. .#.#. .#.#. .#... ..#.. .#.#. .#.#. .#.#.",
    ".###. .#.#. .##.. ..#.. ..#.. .#.#. .#.#. .###.",
    ".#... .##.. .#.#. ...#. ..#.. .#.#. .#.#. .###.",
    ".#... ...#. .#.#. .##.. ..#.. .###. ..#.. .#.#.",
    "..... ..... ..... ..... ..... ..... ..... .....",
    // 88..95: X Y Z [ \ ] ^ _
    ".#.#. .#.#. .###. .##.. .#... ..##. ..#.. .....",
    ".#.#. .#.#. ...#. .#... .#... ...#. .#.#. .....",
    "..#.. ..#.. ..#.. .#... ..#.. ...#. ..... .....",
    ".#.#. ..#.. .#... .#... ...#. ...#. ..... .....",
    ".#.#. ..#.. .###. .##.. ...#. ..##. ..... .....",
    "..... ..... ..... ..... ..... ..... ..... #####",
    // 96..103: ` a b c d e f g
    ".#... ..... .#... ..... ...#. ..... ..##. .....",
    "..#.. .##.. .#... ..##. ...#. .###. ..#.. ..##.",
    "..... ...#. .##.. .#... ..##. .###. .###. .#.#.",
    "..... .#.#. .#.#. .#... .#.#. .#... ..#.. ..##.",
    "..... ..##. .##.. ..##. ..##. ..##. ..#.. ...#.",
    "..... ..... ..... ..... ..... ..... ..... .##..",
    // 104..111: h i j k l m n o
    ".#... ..#.. ...#. .#... .##.. ..... ..... .....",
    ".#... ..... ..... .#... ..#.. ##.#. .##.. ..#..",
    ".##.. .##.. ...#. .#.#. ..#.. #.#.# .#.#. .#.#.",
    ".#.#. ..#.. ...#. .##.. ..#.. #.#.# .#.#. .#.#.",
    ".#.#. .###. .#.#. .#.#. .###. #.#.# .#.#. ..#..",
    "..... ..... ..#.. ..... ..... ..... ..... .....",
    // 112..119: p q r s t u v w
    "..... ..... ..... ..... ..#.. ..... ..... .....",
    ".##.. ..##. .#.#. ..##. .###. .#.#. .#.#. #...#",
    ".#.#. .#.#. .##.. .#... ..#.. .#.#. .#.#. #.#.#",
    ".##.. ..##. .#... ...#. ..#.. .#.#. .#.#. #.#.#",
    ".#... ...#. .#... .##.. ...#. ..##. ..#.. .#.#.",
    ".#... ...#. ..... ..... ..... ..... ..... .....",
    // 120..127: x y z { | } ~ 127
    "..... ..... ..... ..##. ..#.. .##.. ..... #####",
    ".#.#. .#.#. .###. ..#.. ..#.. ..#.. .#... #...#",
    "..#.. .#.#. ..#.. .#... ..#.. ...#. #.#.# #...#",
    "..#.. ..##. .#... ..#.. ..#.. ..#.. ...#. #...#",
    ".#.#. ...#. .###. ..##. ..#.. .##.. ..... #...#",
    "..... .##.. ..... ..... ..#.. ..... ..... #####",
};

constexpr int sheetLines = int(sizeof glyphSheet / sizeof glyphSheet[0]);

constexpr bool sheetIsWellFormed() {
    if (sheetLines != glyphCount / glyphsPerStrip * builtinGlyphRows) return false;
    for (const char* line : glyphSheet) {
        int length = 0;
        while (line[length] != 0) {
            const char c = line[length];
            const bool separator = length % (builtinGlyphColumns + 1) == builtinGlyphColumns;
            if (separator ? c != ' ' : (c != '#' && c != '.')) return false;
            ++length;
        }
        if (length != stripLineLength) return false;
    }
    return true;
}
static_assert(sheetIsWellFormed(), "every glyph strip holds eight 5 x 6 glyphs");

constexpr std::uint32_t glyphFromSheet(int index) {
    const int strip = index / glyphsPerStrip, place = index % glyphsPerStrip;
    std::uint32_t bits = 0;
    for (int row = 0; row < builtinGlyphRows; ++row) {
        const char* line = glyphSheet[strip * builtinGlyphRows + row];
        for (int column = 0; column < builtinGlyphColumns; ++column) {
            if (line[place * (builtinGlyphColumns + 1) + column] == '#')
                bits |= std::uint32_t(1) << (row * builtinGlyphColumns + column);
        }
    }
    return bits;
}

constexpr std::array<std::uint32_t, glyphCount> glyphTableFromSheet() {
    std::array<std::uint32_t, glyphCount> table{};
    for (int index = 0; index < glyphCount; ++index) table[std::size_t(index)] = glyphFromSheet(index);
    return table;
}

constexpr std::array<std::uint32_t, glyphCount> glyphTable = glyphTableFromSheet();

// Games and tests rely on these four exactly.
static_assert(glyphTable[' ' - firstGlyphCode] == 0x00000000u, "space is empty");
static_assert(glyphTable['0' - firstGlyphCode] == 0x00E5294Eu, "the zero glyph");
static_assert(glyphTable['A' - firstGlyphCode] == 0x00A5394Eu, "the A glyph");
static_assert(glyphTable[127 - firstGlyphCode] == 0x3F18C63Fu, "the frame of code 127");

} // namespace

std::uint32_t builtinGlyph(int code) {
    if (code < firstGlyphCode || code >= firstGlyphCode + glyphCount) return 0;
    return glyphTable[std::size_t(code - firstGlyphCode)];
}

} // namespace tarvoke
