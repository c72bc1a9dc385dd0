// Pixel-exact collisions of sprites and animation frames, on masks read back from real textures.
#include <gtest/gtest.h>
#include "graphics2d/OpenGLKestrel.h"
#include "support/PictureFiles.h"
#include "support/EngineTest.h"

namespace tarvoke {
namespace {

using test::Rgb;

constexpr Rgb red{255, 0, 0}, keyColour{255, 0, 128};

class Collisions : public test::EngineTest {
protected:
    // A w x h sprite, transparent but for the listed opaque pixels.
    void makeSprite(int id, int width, int height, const std::vector<std::pair<int, int>>& opaque) {
        std::vector<Rgb> pixels = test::filled(width, height, keyColour);
        for (const auto& [x, y] : opaque) test::put(pixels, width, x, y, red);
        loadSprite(bmp("c" + std::to_string(id) + ".bmp", width, height, pixels).c_str(), id);
    }
};

TEST_F(Collisions, OpaquePixelsMustMeetOnTheExactPixel) {
    makeSprite(1, 4, 4, {{3, 2}});
    makeSprite(2, 4, 4, {{0, 0}});
    EXPECT_EQ(spriteCollision(1, 10, 10, 2, 13, 12), 1);  // (13, 12) is opaque in both
    EXPECT_EQ(spriteCollision(1, 10, 10, 2, 12, 12), 0);  // one pixel left: overlap, no hit
    EXPECT_EQ(spriteCollision(1, 10, 10, 2, 13, 13), 0);
    EXPECT_EQ(spriteCollision(2, 13, 12, 1, 10, 10), 1);  // either order
}

TEST_F(Collisions, RectanglesTouchingAlongAnEdgeDoNotCollide) {
    makeSprite(1, 4, 4, {{0, 0}, {3, 3}, {3, 0}, {0, 3}});
    makeSprite(2, 4, 4, {{0, 0}, {3, 3}, {3, 0}, {0, 3}});
    EXPECT_EQ(spriteCollision(1, 0, 0, 2, 4, 0), 0);
    EXPECT_EQ(spriteCollision(1, 0, 0, 2, 3, 0), 1);
    EXPECT_EQ(spriteCollision(1, 0, 0, 2, 0, 4), 0);
    EXPECT_EQ(spriteCollision(1, 0, 0, 99, 0, 0), 0);  // an empty slot collides with nothing
    EXPECT_EQ(spriteCollision(1, 2147483647.0, 0, 2, 2147483647.0, 0), 1);  // no overflow at the range's edge
}

TEST_F(Collisions, MasksFollowAReload) {
    makeSprite(1, 4, 4, {{0, 0}});
    makeSprite(2, 4, 4, {{0, 0}});
    EXPECT_EQ(spriteCollision(1, 0, 0, 2, 0, 0), 1);
    makeSprite(2, 4, 4, {{1, 1}});
    EXPECT_EQ(spriteCollision(1, 0, 0, 2, 0, 0), 0);
}

TEST_F(Collisions, AnimationFramesLineUpWithTheirScreenPositions) {
    // A 96 x 64 strip of 32 x 32 frames: frame 4 is the second frame of the second row.
    std::vector<Rgb> pixels = test::filled(96, 64, keyColour);
    test::put(pixels, 96, 32 + 5, 32 + 6, red);  // pixel (5, 6) of frame 4
    loadAnim(bmp("strip.bmp", 96, 64, pixels).c_str(), 1, 32, 32);
    makeSprite(2, 1, 1, {{0, 0}});
    EXPECT_EQ(animCollision(1, 4, 100, 100, 2, 0, 105, 106), 1);
    EXPECT_EQ(animCollision(1, 3, 100, 100, 2, 0, 105, 106), 0);
    EXPECT_EQ(animCollision(1, 4, 100, 100, 2, 0, 106, 106), 0);
    // Frames past the strip, negative frames and a strip narrower than its frame: no hit, no crash.
    EXPECT_EQ(animCollision(1, 1000, 100, 100, 2, 0, 105, 106), 0);
    EXPECT_EQ(animCollision(1, -7, 100, 100, 2, 0, 105, 106), 0);
    openGLKestrel->sprites.setFrameSize(1, 200, 32);
    EXPECT_EQ(animCollision(1, 4, 100, 100, 2, 0, 105, 106), 0);
    openGLKestrel->sprites.setFrameSize(1, 32, 100);  // lower than the strip
    EXPECT_EQ(animCollision(1, 1, 100, 100, 2, 0, 105, 106), 0);
}

} // namespace
} // namespace tarvoke
