// Sprites loaded into real textures (llvmpipe), read back texel by texel.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include "graphics2d/ImageFiles.h"
#include "graphics2d/OpenGLKestrel.h"
#include "pack/ArchiveWriter.h"
#include "support/PictureFiles.h"
#include "support/ScreenReadback.h"
#include "support/EngineTest.h"

namespace tarvoke {
namespace {

using test::Rgb;
using test::textureTexels;

constexpr Rgb red{255, 0, 0}, green{0, 200, 0}, blue{0, 0, 255}, black{0, 0, 0}, keyColour{255, 0, 128};


class Sprites : public test::EngineTest {
protected:
    SpriteSlot& slot(int id) { return openGLKestrel->sprites.slot(id); }
    std::array<std::uint8_t, 4> texelOf(int id, int column, int row) {
        const SpriteSlot& s = slot(id);
        const auto texels = textureTexels(s.texture.name(), s.textureWidth, s.textureHeight);
        const std::size_t at = (std::size_t(row) * std::size_t(s.textureWidth) + std::size_t(column)) * 4;
        return {texels[at], texels[at + 1], texels[at + 2], texels[at + 3]};
    }
};

TEST_F(Sprites, SizesArePaddedToPowersOfTwoWithThePictureUpsideDown) {
    std::vector<Rgb> pixels = test::filled(100, 37, blue);
    test::put(pixels, 100, 0, 0, red);     // top-left
    test::put(pixels, 100, 99, 36, green);  // bottom-right
    loadSprite(bmp("wide.bmp", 100, 37, pixels).c_str(), 5);
    EXPECT_EQ(slot(5).textureWidth, 128);
    EXPECT_EQ(slot(5).textureHeight, 64);
    NumValue width = 0, height = 0;
    getSpriteSize(5, width, height);
    EXPECT_EQ(width, 100);
    EXPECT_EQ(height, 37);
    EXPECT_EQ(texelOf(5, 0, 36), (std::array<std::uint8_t, 4>{255, 0, 0, 255}));
    EXPECT_EQ(texelOf(5, 99, 0), (std::array<std::uint8_t, 4>{0, 200, 0, 255}));
    EXPECT_EQ(texelOf(5, 100, 10)[3], 0);
    EXPECT_EQ(texelOf(5, 10, 37)[3], 0);
    EXPECT_TRUE(slot(5).mipTexture.exists());
}

TEST_F(Sprites, AOnePixelPictureGetsATwoByTwoTexture) {
    loadSprite(bmp("dot.bmp", 1, 1, {red}).c_str(), 0);
    EXPECT_EQ(slot(0).textureWidth, 2);
    EXPECT_EQ(slot(0).textureHeight, 2);
    NumValue width = 0, height = 0;
    getSpriteSize(0, width, height);
    EXPECT_EQ(width, 1);
    EXPECT_EQ(height, 1);
}

TEST_F(Sprites, TheColourKeyTurnsExactlyItsColourTransparent) {
    std::vector<Rgb> pixels = test::filled(4, 4, red);
    test::put(pixels, 4, 1, 1, keyColour);
    test::put(pixels, 4, 2, 2, Rgb{255, 0, 129});  // one step off the key
    test::put(pixels, 4, 3, 3, black);
    const std::string path = bmp("keyed.bmp", 4, 4, pixels);
    loadSprite(path.c_str(), 1);
    EXPECT_EQ(texelOf(1, 1, 2)[3], 0);
    EXPECT_EQ(texelOf(1, 1, 2)[0], 255);  // bled from the red around it
    EXPECT_EQ(texelOf(1, 2, 1)[3], 255);
    EXPECT_EQ(texelOf(1, 3, 0)[3], 255);
    setTransparency(0);  // now black is the key, for sprites and fonts alike
    EXPECT_EQ(openGLKestrel->sprites.fontColourKey, 0);
    loadSprite(path.c_str(), 1);
    EXPECT_EQ(texelOf(1, 1, 2)[3], 255);
    EXPECT_EQ(texelOf(1, 3, 0)[3], 0);
    setTransparency(-1);  // nothing is transparent
    loadSprite(path.c_str(), 1);
    EXPECT_EQ(texelOf(1, 3, 0)[3], 255);
}

TEST_F(Sprites, TheMipmappedCopyReachesOneByOne) {
    loadSprite(bmp("mip.bmp", 8, 4, test::filled(8, 4, green)).c_str(), 2);
    const SpriteSlot& loaded = slot(2);
    glBindTexture(GL_TEXTURE_2D, loaded.mipTexture.name());
    GLint width = 0, height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 3, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 3, GL_TEXTURE_HEIGHT, &height);
    EXPECT_EQ(width, 1);
    EXPECT_EQ(height, 1);
    // Level 1 of a picture that fills the texture keeps its colour.
    EXPECT_EQ(textureTexels(loaded.mipTexture.name(), 4, 2, 1)[1], 200);
}

TEST_F(Sprites, BumpTexturesBecomeNormalMaps) {
    loadBumpTexture(bmp("flat.bmp", 4, 4, test::filled(4, 4, Rgb{10, 10, 90})).c_str(), 3);
    EXPECT_EQ(texelOf(3, 1, 1), (std::array<std::uint8_t, 4>{127, 127, 255, 255}));
}

TEST_F(Sprites, FontSlotsUseNearestFilteringAndTheFontKey) {
    std::vector<Rgb> pixels = test::filled(4, 4, red);
    test::put(pixels, 4, 0, 0, black);
    loadSprite(bmp("font.bmp", 4, 4, pixels).c_str(), firstFontSlot);
    EXPECT_EQ(texelOf(firstFontSlot, 0, 3)[3], 255);  // loadSprite takes the sprite key
    ASSERT_TRUE(openGLKestrel->sprites.loadFontSlot(0, temp.file("font.bmp")));
    EXPECT_EQ(texelOf(firstFontSlot, 0, 3)[3], 0);    // the font key, black
    EXPECT_EQ(texelOf(firstFontSlot, 0, 3)[0], 0);    // no colour bleeding for fonts
    EXPECT_FALSE(slot(firstFontSlot).mipTexture.exists());
    GLint filter = 0;
    glBindTexture(GL_TEXTURE_2D, slot(firstFontSlot).texture.name());
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filter);
    EXPECT_EQ(filter, GL_NEAREST);
}

TEST_F(Sprites, FailedLoadsLeaveAnEmptySlotAndKeepTheFrameSize) {
    const std::string strip = bmp("strip.bmp", 96, 64, test::filled(96, 64, red));
    loadAnim(strip.c_str(), 4, 32, 32);
    EXPECT_EQ(slot(4).frameWidth, 32);
    loadAnim(temp.file("missing.bmp").c_str(), 4, 16, 16);
    EXPECT_TRUE(slot(4).isEmpty());
    EXPECT_EQ(slot(4).textureWidth, -1);
    EXPECT_FALSE(slot(4).texture.exists());
    EXPECT_EQ(slot(4).frameWidth, 32);  // a missing file changes no frame size
    loadSprite(strip.c_str(), 4);
    EXPECT_EQ(slot(4).frameWidth, 32);  // nor does a plain load
    test::writeFile(temp.file("junk.bmp"), "not a picture at all");
    loadSprite(temp.file("junk.bmp").c_str(), 4);
    EXPECT_TRUE(slot(4).isEmpty());
}

TEST_F(Sprites, InvalidIdsAreIgnored) {
    const std::string path = bmp("x.bmp", 2, 2, test::filled(2, 2, red));
    loadSprite(path.c_str(), 65536);
    loadSprite(path.c_str(), -1);
    loadAnim(path.c_str(), 1e12, 1, 1);
    NumValue width = 5, height = 5;
    getSpriteSize(70000, width, height);
    EXPECT_EQ(width, 0);
    EXPECT_EQ(saveSprite(temp.file("none.bmp").c_str(), -3), 0);
}

TEST_F(Sprites, PicturesLoadFromTheArchive) {
    test::writeBmp24(temp.file("packed.bmp"), 3, 2, test::filled(3, 2, green));
    const std::string bytes = test::readFile(temp.file("packed.bmp"));
    const auto archive = pack::buildStandaloneArchive({{"Packed.BMP", {bytes.begin(), bytes.end()}}});
    test::writeFile(temp.file("media.kqz"), std::string(archive.begin(), archive.end()));
    setArchive(temp.file("media.kqz").c_str(), "");
    loadSprite("gfx/packed.bmp", 7);
    NumValue width = 0, height = 0;
    getSpriteSize(7, width, height);
    EXPECT_EQ(width, 3);
    EXPECT_EQ(height, 2);
}

TEST_F(Sprites, AReloadNeverShowsTheOldPicture) {
    const std::string first = bmp("a.bmp", 2, 2, test::filled(2, 2, red));
    const std::string second = bmp("b.bmp", 2, 2, test::filled(2, 2, blue));
    loadSprite(first.c_str(), 9);
    loadSprite(second.c_str(), 9);
    EXPECT_EQ(texelOf(9, 0, 0)[2], 255);
    EXPECT_EQ(texelOf(9, 0, 0)[0], 0);
}

} // namespace
} // namespace tarvoke

namespace tarvoke {
namespace {

TEST(TiledImages, LargePicturesAreCutIntoSquareTilesWithTransparentPadding) {
    test::ScopedTempDir temp;
    test::EngineRun engine;
    std::vector<Rgb> pixels = test::filled(600, 300, Rgb{0, 200, 0});
    test::put(pixels, 600, 599, 0, Rgb{255, 0, 0});  // top-right pixel: in the second tile
    test::writeBmp24(temp.file("wide.bmp"), 600, 300, pixels);
    SpriteStore& store = openGLKestrel->sprites;
    ASSERT_TRUE(store.loadTiledImage(0, temp.file("wide.bmp")));
    TiledImage& tiled = store.tiledImages[0];
    ASSERT_EQ(tiled.columns, 2);
    ASSERT_EQ(tiled.rows, 1);
    Tile& second = tiled.tile(1, 0);
    EXPECT_EQ(second.textureWidth, 512);
    EXPECT_EQ(second.usedWidth, 512);
    const auto texels = textureTexels(second.texture.name(), 512, 512);
    auto texelAt = [&](int column, int row) { return &texels[(std::size_t(row) * 512 + std::size_t(column)) * 4]; };
    EXPECT_EQ(texelAt(599 - 512, 511)[0], 255);  // the picture's top row is the tile's top texel row
    EXPECT_EQ(texelAt(10, 511)[1], 200);
    EXPECT_EQ(texelAt(88, 511)[3], 0);           // right of the picture
    EXPECT_FALSE(store.loadTiledImage(1, temp.file("missing.bmp")));
    EXPECT_EQ(store.tiledImages[1].columns, 0);
    store.freeTiledImage(0);
    EXPECT_EQ(tiled.columns, 0);
    EXPECT_TRUE(tiled.tiles.empty());
}

} // namespace
} // namespace tarvoke
