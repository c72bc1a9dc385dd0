// Bitmap fonts and text, drawn on llvmpipe and read back pixel by pixel.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <array>
#include <bitset>
#include <cmath>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>
#include "core/Engine.h"
#include "graphics2d/Fonts.h"
#include "graphics2d/OpenGLKestrel.h"
#include "pack/ArchiveWriter.h"
#include "platform/Files.h"
#include "support/PictureFiles.h"
#include "support/ScreenReadback.h"
#include "support/TestSupport.h"
#include "graphics2d/Graphics2D.h"

namespace tarvoke {
namespace {

using Colour = std::array<std::uint8_t, 3>;

constexpr Colour backdrop{40, 90, 160};
constexpr Colour white{255, 255, 255};
constexpr Colour ringGrey{8, 8, 8};

// The fixed glyphs, written out here rather than taken from the engine's table.
constexpr std::uint32_t zeroGlyph = 0x00E5294E;
constexpr std::uint32_t capitalAGlyph = 0x00A5394E;
constexpr std::uint32_t frameGlyph = 0x3F18C63F;

int inkOf(std::uint32_t glyph) { return int(std::bitset<32>(glyph).count()); }

// ---------------------------------------------------------------- pictures on the screen

// A rectangle of the back buffer, top row first, addressed in screen coordinates.
struct ScreenArea {
    int left = 0, top = 0, width = 0, height = 0;
    std::vector<Colour> pixels;
    Colour at(int x, int y) const { return pixels[std::size_t((y - top) * width + (x - left))]; }
};

ScreenArea readScreen(int left, int top, int width, int height) {
    ScreenArea area{left, top, width, height, std::vector<Colour>(std::size_t(width * height))};
    const std::vector<std::uint8_t> rgba = test::readScreenRgba(left, top, width, height);
    for (std::size_t i = 0; i < area.pixels.size(); ++i)
        area.pixels[i] = {rgba[i * 4], rgba[i * 4 + 1], rgba[i * 4 + 2]};
    return area;
}

ScreenArea wholeScreen() { return readScreen(0, 0, openGLKestrel->main.screenWidth, openGLKestrel->main.screenHeight); }

void paintBackdrop() {
    glClearColor(backdrop[0] / 255.0f, backdrop[1] / 255.0f, backdrop[2] / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}

std::string describe(Colour c) {
    return "(" + std::to_string(c[0]) + "," + std::to_string(c[1]) + "," + std::to_string(c[2]) + ")";
}

// Every pixel of `expected` (same size as the area) must match; the first few misses are named.
testing::AssertionResult areaMatches(const ScreenArea& area, const std::vector<Colour>& expected) {
    int misses = 0;
    std::ostringstream report;
    for (int y = 0; y < area.height; ++y) {
        for (int x = 0; x < area.width; ++x) {
            const Colour want = expected[std::size_t(y * area.width + x)];
            const Colour got = area.pixels[std::size_t(y * area.width + x)];
            if (got == want) continue;
            if (++misses <= 5)
                report << " (" << area.left + x << ", " << area.top + y << ") is " << describe(got) << ", not "
                       << describe(want) << ";";
        }
    }
    if (misses == 0) return testing::AssertionSuccess();
    return testing::AssertionFailure() << misses << " pixels differ:" << report.str();
}

bool isGlyphBit(std::uint32_t glyph, int column, int row) {
    return column >= 0 && column < 5 && row >= 0 && row < 6 && ((glyph >> (row * 5 + column)) & 1u);
}

// What the built-in font shows for one cell pixel: the glyph starts at cell column 1, row 1,
// its four-neighbours within columns 0..6 are dark grey, the rest lets the backdrop through.
Colour builtinCellPixel(std::uint32_t glyph, int cellColumn, int cellRow) {
    const int column = cellColumn - 1, row = cellRow - 1;
    if (isGlyphBit(glyph, column, row)) return white;
    const bool touches = isGlyphBit(glyph, column - 1, row) || isGlyphBit(glyph, column + 1, row) ||
                         isGlyphBit(glyph, column, row - 1) || isGlyphBit(glyph, column, row + 1);
    return (touches && cellColumn <= 6) ? ringGrey : backdrop;
}

// The built-in font's rendering of the glyphs, each cell `scale` x 8 pixels square, with a
// margin of backdrop around it.
std::vector<Colour> builtinRendering(const std::vector<std::uint32_t>& glyphs, int margin, int scale = 1) {
    const int cell = 8 * scale;
    const int width = int(glyphs.size()) * cell + 2 * margin, height = cell + 2 * margin;
    std::vector<Colour> pixels(std::size_t(width * height), backdrop);
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        for (int y = 0; y < cell; ++y) {
            for (int x = 0; x < cell; ++x) {
                const std::size_t at = std::size_t((margin + y) * width + margin + int(i) * cell + x);
                pixels[at] = builtinCellPixel(glyphs[i], x / scale, y / scale);
            }
        }
    }
    return pixels;
}

std::vector<std::uint32_t> builtinGlyphsOf(const std::string& text) {
    std::vector<std::uint32_t> glyphs;
    for (char c : text) glyphs.push_back(builtinGlyph(static_cast<unsigned char>(c)));
    return glyphs;
}

// Reads the screen where the built-in font drew `glyphs` with its first cell at (x, y), with a
// margin of untouched backdrop where the screen has room for it.
testing::AssertionResult showsBuiltinGlyphs(int x, int y, const std::vector<std::uint32_t>& glyphs, int scale = 1) {
    const int margin = std::min({2, x, y}), cell = 8 * scale;
    const ScreenArea area = readScreen(x - margin, y - margin, int(glyphs.size()) * cell + 2 * margin, cell + 2 * margin);
    return areaMatches(area, builtinRendering(glyphs, margin, scale));
}

int countPixels(const ScreenArea& area, Colour colour) {
    int count = 0;
    for (const Colour& pixel : area.pixels) count += pixel == colour ? 1 : 0;
    return count;
}

// ---------------------------------------------------------------- font pictures

// A font picture whose every cell is one flat colour telling its code.
Colour colourOfCode(int code) { return {std::uint8_t(code), std::uint8_t(255 - code), std::uint8_t(60 + code % 7 * 20)}; }

void writeCodedFont(const std::string& path, int width, int height) {
    const FontGeometry geometry = fontGeometry(width, height);
    std::vector<test::Rgb> pixels(std::size_t(width * height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int code = y / geometry.cellHeight * 16 + x / geometry.cellWidth;
            const Colour c = colourOfCode(code);
            pixels[std::size_t(y * width + x)] = {c[0], c[1], c[2]};
        }
    }
    test::writeBmp24(path, width, height, pixels);
}

StrValue bytesOf(std::initializer_list<int> bytes) {
    std::string text;
    for (int byte : bytes) text += char(byte);
    return StrValue(text.c_str());
}

std::vector<std::uint8_t> textureTexels(const SpriteSlot& slot) {
    return test::textureTexels(slot.texture.name(), slot.textureWidth, slot.textureHeight);
}

SpriteSlot& fontSlot(int font) { return openGLKestrel->sprites.slot(firstFontSlot + font); }

class Fonts : public testing::Test {
protected:
    void SetUp() override {
        loadFont("", 0);  // the built-in font, whatever start-up found beside the test program
        paintBackdrop();
    }

    std::string codedFont(const std::string& name, int width, int height) {
        const std::string path = temp.file(name);
        writeCodedFont(path, width, height);
        return path;
    }

    // Each byte's cell must show its code's colour over exactly cellWidth x cellHeight pixels.
    void expectCodedCells(int x, int y, int cellWidth, int cellHeight, const std::vector<int>& codes) {
        const int margin = std::min({1, x, y});
        const ScreenArea area = readScreen(x - margin, y - margin, int(codes.size()) * cellWidth + 2 * margin,
                                           cellHeight + 2 * margin);
        std::vector<Colour> expected(area.pixels.size(), backdrop);
        for (std::size_t i = 0; i < codes.size(); ++i) {
            for (int row = 0; row < cellHeight; ++row) {
                for (int column = 0; column < cellWidth; ++column)
                    expected[std::size_t((margin + row) * area.width + margin + int(i) * cellWidth + column)] =
                        colourOfCode(codes[i]);
            }
        }
        EXPECT_TRUE(areaMatches(area, expected));
    }

    test::ScopedTempDir temp;
    test::EngineRun engine;
};

// ---------------------------------------------------------------- geometry, no drawing

TEST(FontGeometry, TallPicturesHold256CharactersAndOthers128) {
    const FontGeometry tall = fontGeometry(128, 256);
    EXPECT_EQ(tall.rows, 16);
    EXPECT_EQ(tall.cellWidth, 8);
    EXPECT_EQ(tall.cellHeight, 16);
    EXPECT_EQ(tall.characterCount(), 256);
    const FontGeometry wide = fontGeometry(256, 128);
    EXPECT_EQ(wide.rows, 8);
    EXPECT_EQ(wide.cellWidth, 16);
    EXPECT_EQ(wide.cellHeight, 16);
    const FontGeometry square = fontGeometry(256, 256);  // not taller than wide: 8 rows
    EXPECT_EQ(square.rows, 8);
    EXPECT_EQ(square.cellHeight, 32);
    const FontGeometry uneven = fontGeometry(100, 70);  // cells round down
    EXPECT_EQ(uneven.cellWidth, 6);
    EXPECT_EQ(uneven.cellHeight, 8);
}

TEST(FontGeometry, BytesAreUnsignedAndWrapAroundTheFont) {
    const FontGeometry eightRows = fontGeometry(128, 64), sixteenRows = fontGeometry(128, 256);
    const auto cellOf = [](int byte, const FontGeometry& geometry) {
        const CharacterCell cell = characterCell(char(byte), geometry);
        return std::array<int, 2>{cell.column, cell.row};
    };
    EXPECT_EQ(cellOf(65, eightRows), (std::array<int, 2>{1, 4}));
    EXPECT_EQ(cellOf(193, eightRows), (std::array<int, 2>{1, 4}));
    EXPECT_EQ(cellOf(200, eightRows), (std::array<int, 2>{8, 4}));   // shows 72
    EXPECT_EQ(cellOf(255, eightRows), (std::array<int, 2>{15, 7}));
    EXPECT_EQ(cellOf(200, sixteenRows), (std::array<int, 2>{8, 12}));
    EXPECT_EQ(cellOf(255, sixteenRows), (std::array<int, 2>{15, 15}));
}

// ---------------------------------------------------------------- the built-in font's design

TEST(FontBuiltin, EveryPrintableCharacterHasItsOwnGlyph) {
    std::vector<std::uint32_t> seen;
    for (int code = 33; code <= 126; ++code) {
        const std::uint32_t glyph = builtinGlyph(code);
        EXPECT_NE(glyph, 0u) << "code " << code;
        EXPECT_EQ(glyph >> 30, 0u) << "code " << code;
        for (std::size_t other = 0; other < seen.size(); ++other)
            EXPECT_NE(glyph, seen[other]) << "codes " << code << " and " << 33 + other << " look alike";
        seen.push_back(glyph);
    }
    for (int code : {0, 31, 128, 255, -1}) EXPECT_EQ(builtinGlyph(code), 0u) << "code " << code;
}

std::uint32_t glyphColumnBits(int column) {
    std::uint32_t bits = 0;
    for (int row = 0; row < 6; ++row) bits |= 1u << (row * 5 + column);
    return bits;
}

TEST(FontBuiltin, DigitsAndCapitalsAreThreeByFiveInColumnsOneToThree) {
    const std::uint32_t outsideColumns1To3 = glyphColumnBits(0) | glyphColumnBits(4);
    constexpr std::uint32_t row5 = 0x1Fu << 25;
    for (int code = '0'; code <= 'Z'; ++code) {
        if (code > '9' && code < 'A') continue;
        const std::uint32_t glyph = builtinGlyph(code);
        EXPECT_EQ(glyph & outsideColumns1To3, 0u) << char(code);
        EXPECT_EQ(glyph & row5, 0u) << char(code);
        EXPECT_NE(glyph & 0x1Fu, 0u) << char(code) << " reaches row 0";
        EXPECT_NE(glyph & (0x1Fu << 20), 0u) << char(code) << " reaches row 4";
    }
    for (int code : {'g', 'j', 'p', 'q', 'y'}) EXPECT_NE(builtinGlyph(code) & row5, 0u) << char(code) << " descends";
}

TEST(FontBuiltin, ThePictureIsWhiteGlyphsInDarkRingsOnTransparentBlack) {
    const Image image = builtinFontImage();
    ASSERT_EQ(image.width, 128);
    ASSERT_EQ(image.height, 64);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 128; ++x) {
            const int code = y / 8 * 16 + x / 8;
            const Colour want = builtinCellPixel(builtinGlyph(code), x % 8, y % 8);
            const std::uint8_t* p = image.pixel(x, y);
            if (want == backdrop) {
                ASSERT_EQ((std::array<std::uint8_t, 4>{p[0], p[1], p[2], p[3]}), (std::array<std::uint8_t, 4>{0, 0, 0, 0}))
                    << "at " << x << ", " << y;
            } else {
                ASSERT_EQ((std::array<std::uint8_t, 4>{p[0], p[1], p[2], p[3]}),
                          (std::array<std::uint8_t, 4>{want[0], want[1], want[2], 255}))
                    << "at " << x << ", " << y;
            }
        }
    }
}

// ---------------------------------------------------------------- the built-in font on screen

TEST_F(Fonts, TheBuiltInFontHasEightByEightCellsAndDrawsExactlyThem) {
    NumValue width = 0, height = 0;
    getFontSize(width, height);
    EXPECT_EQ(width, 8);
    EXPECT_EQ(height, 8);
    EXPECT_EQ(fontSlot(0).width, 128);
    EXPECT_EQ(fontSlot(0).textureHeight, 64);

    printText("0A", 0, 0);
    const ScreenArea area = readScreen(0, 0, 24, 12);
    std::vector<Colour> expected(area.pixels.size(), backdrop);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 16; ++x)
            expected[std::size_t(y * 24 + x)] = builtinCellPixel(x < 8 ? zeroGlyph : capitalAGlyph, x % 8, y);
    }
    EXPECT_TRUE(areaMatches(area, expected));
    EXPECT_EQ(countPixels(area, white), inkOf(zeroGlyph) + inkOf(capitalAGlyph));
}

TEST_F(Fonts, TheFixedGlyphsDrawAsTheirBits) {
    printText(bytesOf({127, ' ', '0', 'A'}), 100, 50);
    EXPECT_TRUE(showsBuiltinGlyphs(100, 50, {frameGlyph, 0, zeroGlyph, capitalAGlyph}));
    const ScreenArea space = readScreen(108, 50, 8, 8);
    EXPECT_EQ(countPixels(space, backdrop), 64);  // the space lets everything through
}

TEST_F(Fonts, PositionsRoundUpToWholePixels) {
    printText("0", 3.5, 10.25);
    EXPECT_TRUE(showsBuiltinGlyphs(4, 11, {zeroGlyph}));
    printText("A", 40.0, -0.75);  // -0.75 rounds up to row 0
    EXPECT_TRUE(showsBuiltinGlyphs(40, 0, {capitalAGlyph}));
}

TEST_F(Fonts, EmptyTextDrawsNothing) {
    printText("", 10, 10);
    printText3D("", 0, 0, 0, 0);
    printText3D("", 0, 0, 0, 1);
    EXPECT_EQ(countPixels(wholeScreen(), backdrop), 640 * 480);
}

TEST_F(Fonts, TextTakesTheCurrentColourAndAlpha) {
    glColor4f(1.0f, 0.0f, 0.0f, 1.0f);
    printText("0", 0, 0);
    EXPECT_EQ(readScreen(2, 1, 1, 1).at(2, 1), (Colour{255, 0, 0}));  // a glyph pixel
    EXPECT_EQ(readScreen(1, 1, 1, 1).at(1, 1), (Colour{8, 0, 0}));    // its ring
    glColor4f(1.0f, 1.0f, 1.0f, 0.0f);  // fully transparent: the alpha test drops it all
    printText("0", 20, 0);
    EXPECT_EQ(countPixels(readScreen(20, 0, 8, 8), backdrop), 64);
}

TEST_F(Fonts, PrintNumberShowsTheFormattedNumber) {
    printNumber(-2.5, 10, 20);
    EXPECT_TRUE(showsBuiltinGlyphs(10, 20, builtinGlyphsOf("-2.5")));
    printNumber(1e15, 10, 40);
    EXPECT_TRUE(showsBuiltinGlyphs(10, 40, builtinGlyphsOf("1.e+015")));
}

// ---------------------------------------------------------------- font pictures and slots

TEST_F(Fonts, APictureWiderThanTallHoldsEightRowsOfSixteenBySixteenCells) {
    loadFont(codedFont("wide.bmp", 256, 128).c_str(), 1);
    EXPECT_EQ(currentFont, 1);
    NumValue width = 0, height = 0;
    getFontSize(width, height);
    EXPECT_EQ(width, 16);
    EXPECT_EQ(height, 16);
    printText(bytesOf({65, 1, 127, 16}), 30, 40);
    expectCodedCells(30, 40, 16, 16, {65, 1, 127, 16});
}

TEST_F(Fonts, APictureTallerThanWideHoldsSixteenRowsOfCells) {
    loadFont(codedFont("tall.bmp", 128, 256).c_str(), 2);
    NumValue width = 0, height = 0;
    getFontSize(width, height);
    EXPECT_EQ(width, 8);
    EXPECT_EQ(height, 16);
    printText(bytesOf({200, 255, 16, 128, 1}), 7, 9);
    expectCodedCells(7, 9, 8, 16, {200, 255, 16, 128, 1});
}

TEST_F(Fonts, BytesBeyondAnEightRowFontWrapAround) {
    loadFont(codedFont("wide.bmp", 256, 128).c_str(), 0);
    printText(bytesOf({193, 200, 255, 128}), 0, 0);
    expectCodedCells(0, 0, 16, 16, {65, 72, 127, 0});
}

TEST_F(Fonts, PicturesNotFillingTheirTextureAreCutByThePictureSize) {
    loadFont(codedFont("padded.bmp", 160, 80).c_str(), 3);  // a 256 x 128 texture
    ASSERT_EQ(fontSlot(3).textureWidth, 256);
    printText(bytesOf({0x21, 0x7F, 0x50}), 5, 5);
    expectCodedCells(5, 5, 10, 10, {0x21, 0x7F, 0x50});
}

TEST_F(Fonts, SetFontClampsToTheThirtyTwoSlots) {
    setFont(40);
    EXPECT_EQ(currentFont, 31);
    setFont(-3);
    EXPECT_EQ(currentFont, 0);
    setFont(5.9);
    EXPECT_EQ(currentFont, 5);
    setFont(std::nan(""));
    EXPECT_EQ(currentFont, 0);
    loadFont("", 99);
    EXPECT_EQ(currentFont, 31);
    EXPECT_EQ(fontSlot(31).width, 128);
}

TEST_F(Fonts, TextUsesTheCurrentFont) {
    loadFont(codedFont("wide.bmp", 256, 128).c_str(), 4);
    setFont(0);
    printText("A", 0, 0);
    EXPECT_TRUE(showsBuiltinGlyphs(0, 0, {capitalAGlyph}));
    setFont(4);
    printText("A", 50, 0);
    expectCodedCells(50, 0, 16, 16, {'A'});
}

TEST_F(Fonts, AFontThatCannotBeLoadedLeavesTheBuiltInFontInItsSlot) {
    test::writeFile(temp.file("junk.bmp"), "no picture here");
    for (const std::string& name : {temp.file("missing.bmp"), temp.file("junk.bmp"), std::string()}) {
        SCOPED_TRACE(name);
        loadFont(codedFont("wide.bmp", 256, 128).c_str(), 7);
        loadFont(name.c_str(), 7);
        EXPECT_EQ(currentFont, 7);
        EXPECT_EQ(fontSlot(7).width, 128);
        EXPECT_EQ(fontSlot(7).height, 64);
        EXPECT_EQ(fontSlot(7).textureWidth, 128);
        EXPECT_EQ(fontSlot(7).textureHeight, 64);
        paintBackdrop();
        printText("0A", 20, 20);
        EXPECT_TRUE(showsBuiltinGlyphs(20, 20, {zeroGlyph, capitalAGlyph}));
    }
}

TEST_F(Fonts, FontsLoadFromTheArchive) {
    writeCodedFont(temp.file("packed.bmp"), 128, 256);
    const std::string bytes = test::readFile(temp.file("packed.bmp"));
    const auto archive = pack::buildStandaloneArchive({{"Packed.BMP", {bytes.begin(), bytes.end()}}});
    test::writeFile(temp.file("fonts.kqz"), std::string(archive.begin(), archive.end()));
    setArchive(temp.file("fonts.kqz").c_str(), "");
    loadFont("fonts/packed.bmp", 6);
    EXPECT_EQ(fontSlot(6).width, 128);
    EXPECT_EQ(fontSlot(6).height, 256);
    printText(bytesOf({'Z', 250}), 0, 0);
    expectCodedCells(0, 0, 8, 16, {'Z', 250});
}

// ---------------------------------------------------------------- the generated default font

TEST_F(Fonts, TheDefaultFontIs256CharactersOfEightBySixteen) {
    loadFont(TARVOKE_SMALFONT, 2);
    NumValue width = 0, height = 0;
    getFontSize(width, height);
    EXPECT_EQ(width, 8);
    EXPECT_EQ(height, 16);
    ASSERT_EQ(fontSlot(2).width, 128);
    ASSERT_EQ(fontSlot(2).height, 256);
}

TEST_F(Fonts, TheDefaultFontsGlyphsAreRingedOnATransparentGround) {
    loadFont(TARVOKE_SMALFONT, 2);
    const SpriteSlot& slot = fontSlot(2);
    ASSERT_EQ(slot.textureWidth, 128);
    ASSERT_EQ(slot.textureHeight, 256);
    const std::vector<std::uint8_t> texels = textureTexels(slot);
    // Texel rows run from the picture's bottom up.
    const auto texel = [&](int x, int y) { return &texels[(std::size_t(255 - y) * 128 + std::size_t(x)) * 4]; };
    const auto isWhite = [&](int x, int y) { return x >= 0 && x < 128 && y >= 0 && y < 256 && texel(x, y)[0] == 255; };
    std::array<int, 256> inkPerCode{};
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 128; ++x) {
            const std::uint8_t* t = texel(x, y);
            const int code = y / 16 * 16 + x / 8;
            if (t[3] == 0) {
                EXPECT_FALSE(isWhite(x - 1, y) || isWhite(x + 1, y) || isWhite(x, y - 1) || isWhite(x, y + 1))
                    << "glyph pixel without its ring beside " << x << ", " << y;
                continue;
            }
            ASSERT_EQ(t[3], 255) << x << ", " << y;
            ASSERT_TRUE((t[0] == 255 || t[0] == 8) && t[1] == t[0] && t[2] == t[0]) << x << ", " << y;
            EXPECT_NE(x % 8, 7) << "column 7 separates characters, at " << x << ", " << y;
            if (t[0] == 255) ++inkPerCode[std::size_t(code)];
        }
    }
    for (int code = 0; code < 256; ++code) {
        const bool printable = code >= 33 && code <= 127;
        EXPECT_EQ(inkPerCode[std::size_t(code)] > 0, printable) << "code " << code;
    }
    // Capitals are taller than the built-in font's five rows: 'H' spans eight.
    paintBackdrop();
    setFont(2);
    printText("H", 0, 0);
    int litRows = 0;
    const ScreenArea cell = readScreen(0, 0, 8, 16);
    for (int y = 0; y < 16; ++y) litRows += cell.at(1, y) == white ? 1 : 0;
    EXPECT_EQ(litRows, 8);
    EXPECT_EQ(cell.at(0, 0), backdrop);
}

// ---------------------------------------------------------------- text in 3D space

class Text3D : public Fonts {
protected:
    void SetUp() override {
        Fonts::SetUp();
        useProjection([] { glFrustum(-1, 1, -1, 1, 1, 100); });
    }
    // The projection set by `project`, the model-view moved so that the world's origin is at the
    // centre of the screen.
    template <typename Project>
    void useProjection(Project project, float originX = 0, float originY = 0) {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        project();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(originX, originY, 0);
    }
    // y up, one unit a pixel, the world's origin at the centre of the screen: (320, 240) from the bottom.
    void usePixelProjection() {
        useProjection([] { glOrtho(0, 640, 0, 480, -10, 10); }, 320, 240);
    }
};

// (0.5, 0.25, -2) projects to normalised (0.25, 0.125): pixel (400, 210) of 640 x 480.
TEST_F(Text3D, SizeZeroCentresScreenTextOverTheProjectedPoint) {
    printText3D("0A", 0.5, 0.25, -2, 0);
    // 400 - 2 characters x 8 / 2 across; 210 - 64 / 8 down.
    EXPECT_TRUE(showsBuiltinGlyphs(392, 202, {zeroGlyph, capitalAGlyph}));
    EXPECT_EQ(countPixels(wholeScreen(), white), inkOf(zeroGlyph) + inkOf(capitalAGlyph));

    float projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    EXPECT_EQ(projection[0], 1.0f);   // the frustum is back
    EXPECT_EQ(projection[11], -1.0f);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
}

TEST_F(Text3D, SizeZeroCentresWithFontZerosCellsWhateverFontDraws) {
    loadFont(codedFont("wide.bmp", 256, 128).c_str(), 1);  // 16 x 16 cells; font 0 stays 8 x 8
    printText3D("AB", 0.5, 0.25, -2, 0);
    expectCodedCells(392, 202, 16, 16, {'A', 'B'});
}

TEST_F(Text3D, SizeZeroKeepsThePointsDepth) {
    printText3D("0", 0, 0, -200, 0);  // beyond the far plane
    printText3D("0", 0, 0, 0, 0);     // on the eye: w is 0
    EXPECT_EQ(countPixels(wholeScreen(), backdrop), 640 * 480);
}

// The model-view turns the world, yet the text faces the camera upright, left to right.
TEST_F(Text3D, SizedTextFacesTheCamera) {
    const std::array<std::array<float, 4>, 3> turns{{{0, 0, 0, 1}, {90, 0, 0, 1}, {180, 0, 1, 0}}};
    for (const auto& turn : turns) {
        SCOPED_TRACE(turn[0]);
        paintBackdrop();
        usePixelProjection();
        glRotatef(turn[0], turn[1], turn[2], turn[3]);
        printText3D("0A", 0, 0, 0, 1);
        // Each character is 8 x 8 units, the text centred on the origin.
        EXPECT_TRUE(showsBuiltinGlyphs(312, 232, {zeroGlyph, capitalAGlyph}));
    }
}

TEST_F(Text3D, SizeScalesTheCells) {
    usePixelProjection();
    printText3D("0", 0, 0, 0, 2);
    EXPECT_TRUE(showsBuiltinGlyphs(312, 224, {zeroGlyph}, 2));
}

TEST_F(Text3D, CullingAndLightingAreOffWhileDrawingAndBackAfterwards) {
    usePixelProjection();
    glEnable(GL_LIGHTING);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CW);  // the text's quads are back faces now
    printText3D("0A", 0, 0, 0, 1);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    glFrontFace(GL_CCW);
    glDisable(GL_LIGHTING);
    EXPECT_TRUE(showsBuiltinGlyphs(312, 232, {zeroGlyph, capitalAGlyph}));  // drawn, and unlit white

    glDisable(GL_CULL_FACE);
    printText3D("0", 0.5, 0.25, -2, 0);
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
}

// ---------------------------------------------------------------- start-up

std::string besideTheProgram(const std::string& name) {
    const std::string program = platform::executablePath();
    return program.substr(0, program.rfind('/') + 1) + name;
}

TEST(TextStartup, FontZeroIsCurrentAndNeverEmpty) {
    test::ScopedTempDir temp;
    test::EngineRun engine;
    EXPECT_EQ(currentFont, 0);
    ASSERT_FALSE(fontSlot(0).isEmpty());
    if (!test::fileExists(besideTheProgram("smalfont.bmp"))) {
        EXPECT_EQ(fontSlot(0).width, 128);  // the built-in font stood in
        EXPECT_EQ(fontSlot(0).height, 64);
    }
}

// Start-up's own frame is gone once it has been shown, so its text is drawn again here by the
// same code and compared with the text put where it belongs by hand.
TEST(TextStartup, LoadingIsCentredOnTheScreenInFontZero) {
    struct Case {
        ProjectSettings settings;
        const char* font;
        int left, top;  // (screen - 10 cells) / 2, (screen - 1 cell) / 2
    };
    ProjectSettings small;
    small.screenWidth = 320;
    small.screenHeight = 200;
    const Case cases[] = {{ProjectSettings{}, "", 280, 236}, {small, TARVOKE_SMALFONT, 120, 92}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.settings.screenWidth);
        test::ScopedTempDir temp;
        test::EngineRun engine(c.settings);
        loadFont(c.font, 0);
        paintBackdrop();
        printLoadingText();
        const ScreenArea shown = wholeScreen();
        paintBackdrop();
        printText("Loading...", c.left, c.top);
        const ScreenArea placed = wholeScreen();
        EXPECT_TRUE(areaMatches(shown, placed.pixels));
        EXPECT_GT(countPixels(shown, white), 30);
    }
}

// ---------------------------------------------------------------- without the engine

TEST(TextWithoutEngine, CommandsDoNothing) {
    ASSERT_EQ(openGLKestrel, nullptr);
    currentFont = 3;
    setFont(9);
    loadFont("smalfont.bmp", 12);
    printText("Hello", 1, 2);
    printNumber(5, 1, 2);
    printText3D("Hello", 1, 2, 3, 0);
    printText3D("Hello", 1, 2, 3, 1);
    printLoadingText();
    NumValue width = 5, height = 5;
    getFontSize(width, height);
    EXPECT_EQ(currentFont, 3);
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, 0);
    currentFont = 0;
}

} // namespace
} // namespace tarvoke
