// make_smalfont: draws the engine's default font and writes it as "smalfont.bmp", a 24-bit BMP
// of 128 x 256 pixels: 16 x 16 cells of 8 x 16, one character each for codes 0..255.
// Glyphs are white, ringed in dark grey so they stay readable on light backgrounds, on black,
// which is the font colour key and so turns transparent. Codes 32..127 have glyphs; the rest
// are blank.
//
//     make_smalfont OUTPUT.bmp
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int pictureWidth = 128;
constexpr int pictureHeight = 256;
constexpr int cellWidth = 8;
constexpr int cellHeight = 16;
constexpr int columns = pictureWidth / cellWidth;

constexpr int glyphColumns = 5;
constexpr int glyphRows = 10;        // capitals and digits in rows 0..7, descenders in 8..9
constexpr int glyphLeft = 1;         // the glyph's place in its cell; the ring takes one
constexpr int glyphTop = 3;          // pixel around it and stays inside the cell
constexpr int firstGlyphCode = 32;
constexpr int glyphCount = 96;
constexpr int glyphsPerStrip = 8;

constexpr std::uint8_t ink = 255;
constexpr std::uint8_t ring = 8;

// Eight glyphs side by side per strip, one line per glyph row; '#' is ink.
const char* const glyphSheet[] = {
    // 32..39: space ! " # $ % & '
    "..... ..#.. .#.#. ..... ..#.. ##... .##.. ..#..",
    "..... ..#.. .#.#. .#.#. .#### ##..# #..#. ..#..",
    "..... ..#.. .#.#. ##### #.#.. ...#. #.#.. ..#..",
    "..... ..#.. ..... .#.#. .###. ..#.. .#... .....",
    "..... ..#.. ..... .#.#. ..#.# .#... #.#.# .....",
    "..... ..... ..... ##### ..#.# #..## #..#. .....",
    "..... ..#.. ..... .#.#. ####. ...## .##.# .....",
    "..... ..... ..... ..... ..#.. ..... ..... .....",
    "..... ..... ..... ..... ..... ..... ..... .....",
    "..... ..... ..... ..... ..... ..... ..... .....",
    // 40..47: ( ) * + , - . /
    "...#. .#... ..... ..... ..... ..... ..... ....#",
    "..#.. ..#.. ..#.. ..... ..... ..... ..... ....#",
    ".#... ...#. #.#.# ..#.. ..... ..... ..... ...#.",
    ".#... ...#. .###. ..#.. ..... ..... ..... ..#..",
    ".#... ...#. #.#.# ##### ..... ##### ..... ..#..",
    ".#... ...#. ..#.. ..#.. ..... ..... ..... .#...",
    "..#.. ..#.. ..... ..#.. ..##. ..... ..##. #....",
    "...#. .#... ..... ..... ..##. ..... ..##. #....",
    "..... ..... ..... ..... ..#.. ..... ..... .....",
    "..... ..... ..... ..... .#... ..... ..... .....",
    // 48..55: 0 1 2 3 4 5 6 7
    ".###. ..#.. .###. .###. ...#. ##### ..##. #####",
    "#...# .##.. #...# #...# ..##. #.... .#... ....#",
    "#..## #.#.. ....# ....# .#.#. #.... #.... ...#.",
    "#.#.# ..#.. ...#. ..##. #..#. ####. ####. ...#.",
    "#.#.# ..#.. ..#.. ....# ##### ....# #...# ..#..",
    "##..# ..#.. .#... ....# ...#. ....# #...# ..#..",
    "#...# ..#.. #.... #...# ...#. #...# #...# .#...",
    ".###. ##### ##### .###. ...#. .###. .###. .#...",
    "..... ..... ..... ..... ..... ..... ..... .....",
    "..... ..... ..... ..... ..... ..... ..... .....",
    // 56..63: 8 9 : ; < = > ?
    ".###. .###. ..... ..... ..... ..... ..... .###.",
    "#...# #...# ..... ..... ....# ..... #.... #...#",
    "#...# #...# ..##. ..##. ...#. ..... .#... ....#",
    ".###. #...# ..##. ..##. ..#.. ##### ..#.. ...#.",
    "#...# .#### ..... ..... .#... ..... ...#. ..#..",
    "#...# ....# ..... ..... ..#.. ##### ..#.. ..#..",
    "#...# ...#. ..##. ..##. ...#. ..... .#... .....",
    ".###. .##.. ..##. ..##. ....# ..... #.... ..#..",
    "..... ..... ..... ..#.. ..... ..... ..... .....",
    "..... ..... ..... .#... ..... ..... ..... .....",
    // 64..71: @ A B C D E F G
    ".###. ..#.. ####. .###. ###.. ##### ##### .###.",
    "#...# .#.#. #...# #...# #..#. #.... #.... #...#",
    "#.### #...# #...# #.... #...# #.... #.... #....",
    "#.#.# #...# ####. #.... #...# ####. ####. #....",
    "#.#.# ##### #...# #.... #...# #.... #.... #.###",
    "#.##. #...# #...# #.... #...# #.... #.... #...#",
    "#.... #...# #...# #...# #..#. #.... #.... #...#",
    ".###. #...# ####. .###. ###.. ##### #.... .####",
    "..... ..... ..... ..... ..... ..... ..... .....",
    "..... ..... ..... ..... ..... ..... ..... .....",
    // 72..79: H I J K L M N O
    "#...# .###. ..### #...# #.... #...# #...# .###.",
    "#...# ..#.. ...#. #..#. #.... ##.## ##..# #...#",
    "#...# ..#.. ...#. #.#.. #.... #.#.# ##..# #...#",
    "##### ..#.. ...#. ##... #.... #.#.# #.#.# #...#",
    "#...# ..#.. ...#. #.#.. #.... #...# #.#.# #...#",
    "#...# ..#.. ...#. #..#. #.... #...# #..## #...#",
    "#...# ..#.. #..#. #...# #.... #...# #..## #...#",
    "#...# .###. .##.. #...# ##### #...# #...# .###.",
    "..... ..... ..... ..... ..... ..... ..... .....",
    "..... ..... ..... ..... ..... ..... ..... .....",
    // 80..87: P Q R S T U V W
    "####. .###. ####. .###. ##### #...# #...# #...#",
    "#...# #...# #...# #...# ..#.. #...# #...# #...#",
    "#...# #...# #...# #.... ..#.. #...# #...# #...#",
    "####. #...# ####. .###. ..#.. #...# #...# #...#",
    "#.... #...# #.#.. ....# ..#.. #...# .#.#. #.#.#",
    "#.... #.#.# #..#. ....# ..#.. #...# .#.#. #.#.#",
    "#.... #..#. #...# #...# ..#.. #...# ..#.. ##.##",
    "#.... .##.# #...# .###. ..#.. .###. ..#.. #...#",
    "..... ..... ..... ..... ..... ..... ..... .....",
    "..... ..... ..... ..... ..... ..... ..... .....",
    // 88..95: X Y Z [ \ ] ^ _
    "#...# #...# ##### .###. #.... .###. ..#.. .....",
    "#...# #...# ....# .#... #.... ...#. .#.#. .....",
    ".#.#. .#.#. ...#. .#... .#... ...#. #...# .....",
    "..#.. ..#.. ..#.. .#... ..#.. ...#. ..... .....",
    "..#.. ..#.. ..#.. .#... ..#.. ...#. ..... .....",
    ".#.#. ..#.. .#... .#... ...#. ...#. ..... .....",
    "#...# ..#.. #.... .#... ....# ...#. ..... .....",
    "#...# ..#.. ##### .###. ....# .###. ..... .....",
    "..... ..... ..... ..... ..... ..... ..... #####",
    "..... ..... ..... ..... ..... ..... ..... .....",
    // 96..103: ` a b c d e f g
    ".#... ..... #.... ..... ....# ..... ..##. .....",
    "..#.. ..... #.... ..... ....# ..... .#..# .....",
    "..... .###. ####. .###. .#### .###. .#... .####",
    "..... ....# #...# #...# #...# #...# ####. #...#",
    "..... .#### #...# #.... #...# ##### .#... #...#",
    "..... #...# #...# #.... #...# #.... .#... #...#",
    "..... #...# #...# #...# #...# #...# .#... #...#",
    "..... .#### ####. .###. .#### .###. .#... .####",
    "..... ..... ..... ..... ..... ..... ..... ....#",
    "..... ..... ..... ..... ..... ..... ..... .###.",
    // 104..111: h i j k l m n o
    "#.... ..#.. ...#. #.... .##.. ..... ..... .....",
    "#.... ..... ..... #.... ..#.. ..... ..... .....",
    "####. .##.. ..##. #..#. ..#.. ##.#. ####. .###.",
    "#...# ..#.. ...#. #.#.. ..#.. #.#.# #...# #...#",
    "#...# ..#.. ...#. ##... ..#.. #.#.# #...# #...#",
    "#...# ..#.. ...#. #.#.. ..#.. #.#.# #...# #...#",
    "#...# ..#.. ...#. #..#. ..#.. #.#.# #...# #...#",
    "#...# .###. ...#. #...# .###. #...# #...# .###.",
    "..... ..... #..#. ..... ..... ..... ..... .....",
    "..... ..... .##.. ..... ..... ..... ..... .....",
    // 112..119: p q r s t u v w
    "..... ..... ..... ..... .#... ..... ..... .....",
    "..... ..... ..... ..... .#... ..... ..... .....",
    "####. .#### #.##. .#### ####. #...# #...# #...#",
    "#...# #...# ##..# #.... .#... #...# #...# #...#",
    "#...# #...# #.... .###. .#... #...# #...# #.#.#",
    "#...# #...# #.... ....# .#... #...# .#.#. #.#.#",
    "#...# #...# #.... ....# .#..# #..## .#.#. #.#.#",
    "####. .#### #.... ####. ..##. .##.# ..#.. .#.#.",
    "#.... ....# ..... ..... ..... ..... ..... .....",
    "#.... ....# ..... ..... ..... ..... ..... .....",
    // 120..127: x y z { | } ~ 127
    "..... ..... ..... ...## ..#.. ##... ..... #####",
    "..... ..... ..... ..#.. ..#.. ..#.. ..... #...#",
    "#...# #...# ##### ..#.. ..#.. ..#.. ..... #...#",
    ".#.#. #...# ...#. .#... ..#.. ...#. .#... #...#",
    "..#.. #...# ..#.. ..#.. ..#.. ..#.. #.#.# #...#",
    "..#.. #...# .#... ..#.. ..#.. ..#.. ...#. #...#",
    ".#.#. #...# #.... ..#.. ..#.. ..#.. ..... #...#",
    "#...# .#### ##### ...## ..#.. ##... ..... #####",
    "..... ....# ..... ..... ..#.. ..... ..... .....",
    "..... .###. ..... ..... ..#.. ..... ..... .....",
};

constexpr int sheetLines = int(sizeof glyphSheet / sizeof glyphSheet[0]);
constexpr std::size_t stripLineLength = glyphsPerStrip * (glyphColumns + 1) - 1;

bool sheetIsWellFormed() {
    if (sheetLines != glyphCount / glyphsPerStrip * glyphRows) return false;
    for (const char* line : glyphSheet) {
        if (std::strlen(line) != stripLineLength) return false;
        for (std::size_t i = 0; i < stripLineLength; ++i) {
            const bool separator = i % (glyphColumns + 1) == glyphColumns;
            if (separator ? line[i] != ' ' : (line[i] != '#' && line[i] != '.')) return false;
        }
    }
    return true;
}

bool isInk(int code, int column, int row) {
    const int index = code - firstGlyphCode;
    if (index < 0 || index >= glyphCount) return false;
    const char* line = glyphSheet[index / glyphsPerStrip * glyphRows + row];
    return line[index % glyphsPerStrip * (glyphColumns + 1) + column] == '#';
}

// One grey level per pixel, top row first; 0 is the transparent background.
struct GreyPicture {
    int width = pictureWidth;
    int height = pictureHeight;
    std::vector<std::uint8_t> levels = std::vector<std::uint8_t>(std::size_t(pictureWidth * pictureHeight), 0);

    std::uint8_t at(int x, int y) const {
        if (x < 0 || x >= width || y < 0 || y >= height) return 0;
        return levels[std::size_t(y * width + x)];
    }
    void set(int x, int y, std::uint8_t level) { levels[std::size_t(y * width + x)] = level; }
};

void drawGlyph(GreyPicture& picture, int code) {
    const int left = code % columns * cellWidth + glyphLeft;
    const int top = code / columns * cellHeight + glyphTop;
    for (int row = 0; row < glyphRows; ++row) {
        for (int column = 0; column < glyphColumns; ++column) {
            if (isInk(code, column, row)) picture.set(left + column, top + row, ink);
        }
    }
}

bool touchesInk(const GreyPicture& picture, int x, int y) {
    return picture.at(x - 1, y) == ink || picture.at(x + 1, y) == ink || picture.at(x, y - 1) == ink ||
           picture.at(x, y + 1) == ink;
}

void drawRings(GreyPicture& picture) {
    const GreyPicture inked = picture;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            if (inked.at(x, y) != ink && touchesInk(inked, x, y)) picture.set(x, y, ring);
        }
    }
}

GreyPicture drawFont() {
    GreyPicture picture;
    for (int code = firstGlyphCode; code < firstGlyphCode + glyphCount; ++code) drawGlyph(picture, code);
    drawRings(picture);
    return picture;
}

void putLittleEndian(std::string& bytes, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes += char((value >> (8 * i)) & 0xFF);
}

// A plain bottom-up 24-bit BMP with the 40-byte header.
std::string bmpBytes(const GreyPicture& picture) {
    const std::uint32_t rowBytes = (std::uint32_t(picture.width) * 3 + 3) / 4 * 4;
    const std::uint32_t pixelBytes = rowBytes * std::uint32_t(picture.height);
    const std::uint32_t headerBytes = 14 + 40;
    std::string bytes = "BM";
    putLittleEndian(bytes, headerBytes + pixelBytes, 4);
    putLittleEndian(bytes, 0, 4);
    putLittleEndian(bytes, headerBytes, 4);
    putLittleEndian(bytes, 40, 4);
    putLittleEndian(bytes, std::uint32_t(picture.width), 4);
    putLittleEndian(bytes, std::uint32_t(picture.height), 4);
    putLittleEndian(bytes, 1, 2);   // planes
    putLittleEndian(bytes, 24, 2);  // bits per pixel
    putLittleEndian(bytes, 0, 4);   // uncompressed
    putLittleEndian(bytes, pixelBytes, 4);
    putLittleEndian(bytes, 2835, 4);  // 72 dots per inch
    putLittleEndian(bytes, 2835, 4);
    putLittleEndian(bytes, 0, 4);
    putLittleEndian(bytes, 0, 4);
    for (int y = picture.height - 1; y >= 0; --y) {
        std::string row;
        for (int x = 0; x < picture.width; ++x) row.append(3, char(picture.at(x, y)));
        row.resize(rowBytes, '\0');
        bytes += row;
    }
    return bytes;
}

bool writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    out.close();
    return bool(out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_smalfont OUTPUT.bmp\n");
        return 2;
    }
    if (!sheetIsWellFormed()) {
        std::fprintf(stderr, "make_smalfont: the glyph sheet is malformed\n");
        return 1;
    }
    if (!writeFile(argv[1], bmpBytes(drawFont()))) {
        std::fprintf(stderr, "make_smalfont: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
