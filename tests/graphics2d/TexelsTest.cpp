// The CPU steps of texture building, checked texel by texel.
#include <gtest/gtest.h>
#include <cmath>
#include "graphics2d/SpriteStore.h"
#include "graphics2d/Texels.h"

namespace tarvoke {
namespace {

Image solidImage(int width, int height, std::uint8_t red, std::uint8_t green, std::uint8_t blue, std::uint8_t alpha = 255) {
    Image image;
    image.width = width;
    image.height = height;
    image.pixels.resize(std::size_t(width * height * 4));
    for (std::size_t i = 0; i < image.pixels.size(); i += 4) {
        image.pixels[i] = red;
        image.pixels[i + 1] = green;
        image.pixels[i + 2] = blue;
        image.pixels[i + 3] = alpha;
    }
    return image;
}

const std::uint8_t* texel(const Texels& texels, int width, int column, int row) {
    return &texels[(std::size_t(row) * std::size_t(width) + std::size_t(column)) * 4];
}

TEST(Texels, SidesArePowersOfTwoAndAtLeastTwo) {
    EXPECT_EQ(textureSide(1), 2);
    EXPECT_EQ(textureSide(2), 2);
    EXPECT_EQ(textureSide(3), 4);
    EXPECT_EQ(textureSide(100), 128);
    EXPECT_EQ(textureSide(37), 64);
    EXPECT_EQ(textureSide(1024), 1024);
}

TEST(Texels, PicturesAreStoredUpsideDownInAZeroedTexture) {
    Image image = solidImage(100, 37, 10, 20, 30);
    image.pixels[0] = 99;                                  // top-left pixel
    image.pixels[(std::size_t(36) * 100 + 99) * 4] = 77;  // bottom-right pixel
    const Texels texels = copyUpsideDown(image, 0, 0, 100, 37, 128, 64);
    ASSERT_EQ(texels.size(), 128u * 64u * 4u);
    EXPECT_EQ(texel(texels, 128, 0, 36)[0], 99);   // the top row is texel row 36
    EXPECT_EQ(texel(texels, 128, 99, 0)[0], 77);   // the bottom row is texel row 0
    EXPECT_EQ(texel(texels, 128, 50, 20)[3], 255);
    EXPECT_EQ(texel(texels, 128, 100, 10)[3], 0);  // right of the picture
    EXPECT_EQ(texel(texels, 128, 10, 37)[3], 0);   // above it
}

TEST(Texels, ARectangleOfTheImageIsTakenFromItsOffset) {
    Image image = solidImage(8, 8, 0, 0, 0);
    image.pixels[(std::size_t(5) * 8 + 6) * 4] = 200;  // pixel (6, 5)
    const Texels texels = copyUpsideDown(image, 4, 4, 4, 4, 4, 4);
    EXPECT_EQ(texel(texels, 4, 2, 4 - 1 - 1)[0], 200);  // column 6-4, row h-1-(5-4)
    const Texels clipped = copyUpsideDown(image, 6, 6, 4, 4, 4, 4);  // half outside the image
    EXPECT_EQ(texel(clipped, 4, 1, 3)[3], 255);
    EXPECT_EQ(texel(clipped, 4, 2, 3)[3], 0);
    EXPECT_EQ(texel(clipped, 4, 1, 1)[3], 0);
}

TEST(Texels, TransparentTexelsTakeTheirOpaqueNeighboursColour) {
    Texels texels(8 * 8 * 4, 0);
    auto set = [&](int c, int r, std::uint8_t red, std::uint8_t green) {
        std::uint8_t* t = &texels[(std::size_t(r) * 8 + std::size_t(c)) * 4];
        t[0] = red;
        t[1] = green;
        t[3] = 255;
    };
    for (int r = 2; r <= 4; ++r)
        for (int c = 2; c <= 4; ++c) set(c, r, 200, 0);
    texels[(3 * 8 + 3) * 4 + 3] = 0;  // a keyed hole in the middle of red
    set(4, 3, 0, 90);                 // one green texel in the block
    bleedColours(texels, 8, 8);
    const std::uint8_t* hole = texel(texels, 8, 3, 3);
    EXPECT_EQ(hole[0], 200 * 7 / 8);  // 7 red neighbours and one green
    EXPECT_EQ(hole[1], 90 / 8);
    EXPECT_EQ(hole[3], 0);
    const std::uint8_t* corner = texel(texels, 8, 1, 1);  // touches only (2, 2)
    EXPECT_EQ(corner[0], 200);
    EXPECT_EQ(corner[3], 0);
    EXPECT_EQ(texel(texels, 8, 0, 0)[0], 0);    // no opaque neighbour
    EXPECT_EQ(texel(texels, 8, 2, 2)[0], 200);  // opaque texels never change
}

TEST(Texels, OnlyNeighboursInsideTheBorderRingCount) {
    Texels texels(4 * 4 * 4, 0);
    texels[3] = 255;  // opaque (0, 0): on the border, so it counts for nobody
    texels[0] = 250;
    bleedColours(texels, 4, 4);
    EXPECT_EQ(texel(texels, 4, 1, 1)[0], 0);
}

TEST(Texels, MipLevelsAverageTheRowsTheyCover) {
    // 4 x 4 level whose rows differ: the next level's row 0 must come from rows 0 and 1 only.
    Texels level(4 * 4 * 4, 0);
    const std::uint8_t rowValue[4] = {90, 180, 9, 0};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) level[(std::size_t(r) * 4 + std::size_t(c)) * 4] = rowValue[r];
    int width = 0, height = 0;
    const Texels next = nextMipLevel(level, 4, 4, width, height);
    EXPECT_EQ(width, 2);
    EXPECT_EQ(height, 2);
    EXPECT_EQ(texel(next, 2, 0, 0)[0], (4 * 90 + 2 * 90 + 2 * 180 + 180) / 9);
    EXPECT_EQ(texel(next, 2, 0, 1)[0], (2 * 9 + 9) / 3);  // last row: the texel and the one right of it
    EXPECT_EQ(texel(next, 2, 1, 0)[0], (2 * 90 + 180) / 3);  // last column: the texel and the one below
    EXPECT_EQ(texel(next, 2, 1, 1)[0], 9);
    const Texels narrow = nextMipLevel(Texels(4 * 1 * 4, 60), 4, 1, width, height);
    EXPECT_EQ(width, 2);
    EXPECT_EQ(height, 1);
    EXPECT_EQ(narrow[0], 60);
}

TEST(Texels, NormalMapsFollowTheSlopeOfTheBlueHeights) {
    Texels flat(4 * 4 * 4, 0);
    for (std::size_t i = 0; i < flat.size(); i += 4) {
        flat[i + 2] = 100;
        flat[i + 3] = 33;
    }
    const Texels flatNormals = normalMapOf(flat, 4, 4);
    EXPECT_EQ(flatNormals[0], 127);
    EXPECT_EQ(flatNormals[1], 127);
    EXPECT_EQ(flatNormals[2], 255);
    EXPECT_EQ(flatNormals[3], 33);  // alpha is kept

    // Heights rising to the right (with a wrap-around at the edge).
    Texels ramp(4 * 4 * 4, 0);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) ramp[(std::size_t(r) * 4 + std::size_t(c)) * 4 + 2] = std::uint8_t(c * 51);
    const Texels rampNormals = normalMapOf(ramp, 4, 4);
    const std::uint8_t* inner = texel(rampNormals, 4, 1, 1);
    const double dx = 4 * 102 / 255.0 - 4 * 0 / 255.0, scale = 1.0 / double(float(std::sqrt(dx * dx + 1)));
    EXPECT_EQ(inner[0], int((-dx * scale + 1) * 0.5 * 255));
    EXPECT_EQ(inner[1], 127);
    EXPECT_EQ(inner[2], int((scale + 1) * 0.5 * 255));
    EXPECT_LT(inner[0], 127);  // the normal leans against the rise
}

} // namespace
} // namespace tarvoke
