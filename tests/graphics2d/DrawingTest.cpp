// Sprites, frames, polygons and primitives drawn through the engine, pixels read back.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include "graphics2d/OpenGLKestrel.h"
#include "support/PictureFiles.h"
#include "support/ScreenReadback.h"
#include "support/TestSupport.h"

namespace tarvoke {
namespace {

using test::Rgb;
using test::colourAt;
using Pixel = std::array<std::uint8_t, 4>;

constexpr Rgb red{255, 0, 0}, green{0, 255, 0}, blue{0, 0, 255}, white{255, 255, 255}, keyColour{255, 0, 128};


constexpr Rgb black{0, 0, 0};

class Drawing : public testing::Test {
protected:
    void SetUp() override { glClear(GL_COLOR_BUFFER_BIT); }
    // A sprite with a red top-left, green top-right, blue bottom-left and white bottom-right quarter.
    void makeQuarters(int id, int side) {
        std::vector<Rgb> pixels(std::size_t(side * side));
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x)
                test::put(pixels, side, x, y, y < side / 2 ? (x < side / 2 ? red : green) : (x < side / 2 ? blue : white));
        load(id, side, side, pixels);
    }
    void load(int id, int width, int height, const std::vector<Rgb>& pixels) {
        const std::string path = temp.file("sprite" + std::to_string(id) + ".bmp");
        test::writeBmp24(path, width, height, pixels);
        loadSprite(path.c_str(), id);
    }
    test::ScopedTempDir temp;
    test::EngineRun engine;
};

TEST_F(Drawing, SpritesLandOnTheCeilingOfTheirPosition) {
    makeQuarters(1, 4);
    drawSprite(1, 10.2, 20);
    EXPECT_EQ(colourAt(10, 20), black);
    EXPECT_EQ(colourAt(11, 20), red);    // x = 10.2 draws from column 11
    EXPECT_EQ(colourAt(14, 20), green);
    EXPECT_EQ(colourAt(11, 23), blue);
    EXPECT_EQ(colourAt(14, 23), white);
    EXPECT_EQ(colourAt(15, 20), black);
    EXPECT_EQ(colourAt(11, 24), black);
    drawSprite(1, -0.5, 40);              // -0.5 rounds up to column 0
    EXPECT_EQ(colourAt(0, 40), red);
    drawSprite(1, 200, 200.01);
    EXPECT_EQ(colourAt(200, 201), red);
}

TEST_F(Drawing, NegativeStretchesMirror) {
    makeQuarters(1, 4);
    setSmoothing(0);
    stretchSprite(1, 20, 10, -4, 4);  // mirrored left to right, ending at x
    EXPECT_EQ(colourAt(16, 10), green);
    EXPECT_EQ(colourAt(19, 10), red);
    EXPECT_EQ(colourAt(20, 10), black);
    stretchSprite(1, 40, 20, -4, -4);  // both negative: turned by 180 degrees
    EXPECT_EQ(colourAt(36, 16), white);
    EXPECT_EQ(colourAt(39, 19), red);
    stretchSprite(1, 60, 10, 8, 2);  // plain stretch
    EXPECT_EQ(colourAt(60, 10), red);
    EXPECT_EQ(colourAt(67, 11), white);
    EXPECT_EQ(colourAt(68, 10), black);
}

TEST_F(Drawing, ZoomScalesAboutWhereDrawSpriteWouldPutTheCentre) {
    makeQuarters(1, 4);
    setSmoothing(0);
    zoomSprite(1, 20, 20, 2, 2);  // 8 x 8 from (18, 18)
    EXPECT_EQ(colourAt(17, 18), black);
    EXPECT_EQ(colourAt(18, 18), red);
    EXPECT_EQ(colourAt(25, 25), white);
    EXPECT_EQ(colourAt(26, 25), black);
}

TEST_F(Drawing, RotationIsCounterClockwiseAboutTheCentre) {
    makeQuarters(1, 8);
    setSmoothing(0);
    rotateSprite(1, 100, 100, 90);  // centre (104, 104); the top edge comes to the left side
    EXPECT_EQ(colourAt(101, 106), red);    // top-left quarter is now bottom-left
    EXPECT_EQ(colourAt(101, 101), green);  // top-right quarter is now top-left
    EXPECT_EQ(colourAt(106, 106), blue);
    EXPECT_EQ(colourAt(106, 101), white);
    rotoZoomSprite(1, 200, 100, 0, 2);     // 16 x 16 about (204, 104)
    EXPECT_EQ(colourAt(197, 97), red);
    EXPECT_EQ(colourAt(210, 110), white);
    EXPECT_EQ(colourAt(195, 104), black);
}

TEST_F(Drawing, AnimationFramesComeFromTheirCell) {
    // A 96 x 64 strip of 32 x 32 frames: frame 4 is the second frame of the second row.
    std::vector<Rgb> pixels = test::filled(96, 64, blue);
    for (int y = 32; y < 64; ++y)
        for (int x = 32; x < 64; ++x) test::put(pixels, 96, x, y, green);
    test::put(pixels, 96, 32, 32, red);  // frame 4's top-left pixel
    const std::string path = temp.file("strip.bmp");
    test::writeBmp24(path, 96, 64, pixels);
    loadAnim(path.c_str(), 2, 32, 32);
    setSmoothing(0);
    drawAnim(2, 4, 10, 10);
    EXPECT_EQ(colourAt(10, 10), red);
    EXPECT_EQ(colourAt(41, 41), green);
    EXPECT_EQ(colourAt(42, 10), black);
    stretchAnim(2, 4, 100, 10, 64, 64);
    EXPECT_EQ(colourAt(100, 10), red);
    EXPECT_EQ(colourAt(163, 73), green);
    EXPECT_EQ(colourAt(165, 40), black);
    rotoZoomAnim(2, 4, 200, 10, 0, 1);
    EXPECT_EQ(colourAt(216, 26), green);
}

TEST_F(Drawing, StripsWithoutWholeFramesDrawNothing) {
    makeQuarters(3, 4);
    drawAnim(3, 0, 0, 0);  // a plain sprite has no frame size
    openGLKestrel->sprites.setFrameSize(3, 8, 8);  // wider than the picture
    drawAnim(3, 0, 0, 0);
    openGLKestrel->sprites.setFrameSize(3, 2, 8);  // lower than the picture
    drawAnim(3, 0, 0, 0);
    stretchAnim(3, 1, 0, 0, 10, 10);
    rotoZoomAnim(3, -5, 0, 0, 30, 1);
    for (int x = 0; x < 10; ++x) EXPECT_EQ(colourAt(x, 2), black);
}

TEST_F(Drawing, RectanglesCoverTheirPixelsAndNegativeSizesReachBack) {
    drawRect(10, 5, -3, 2, 0x0000FF);  // columns 8, 9 and 10
    EXPECT_EQ(colourAt(7, 5), black);
    EXPECT_EQ(colourAt(8, 5), red);
    EXPECT_EQ(colourAt(10, 6), red);
    EXPECT_EQ(colourAt(11, 5), black);
    EXPECT_EQ(colourAt(10, 7), black);
    drawRect(20, 20, 3, 3, 0x00FF00);
    EXPECT_EQ(colourAt(20, 20), green);
    EXPECT_EQ(colourAt(22, 22), green);
    EXPECT_EQ(colourAt(23, 22), black);
    drawLine(30, 30, 34, 30, 0xFF0000);  // the end point is set too
    for (int x = 30; x <= 34; ++x) EXPECT_EQ(colourAt(x, 30), blue) << x;
    EXPECT_EQ(colourAt(35, 30), black);
}

TEST_F(Drawing, TheKeyColourDrawsWithAlphaZero) {
    const double key = 0x8000ff;
    drawRect(0, 0, 4, 4, key);  // blending off: drawn as usual
    EXPECT_EQ(colourAt(1, 1), keyColour);
    setAlphaMode(-1);
    drawRect(10, 0, 4, 4, key);  // blending on: invisible
    EXPECT_EQ(colourAt(11, 1), black);
}

TEST_F(Drawing, PolygonsAreFansCulledWhenClockwise) {
    startPoly(-1);
    for (auto [x, y] : {std::pair{10, 10}, {10, 20}, {20, 20}, {20, 10}}) polyVertex(x, y, 0, 0, 0x00FF00);
    endPoly();
    EXPECT_EQ(colourAt(15, 15), green);
    startPoly(-1);  // top-left, top-right, bottom-right, bottom-left: clockwise on the screen
    for (auto [x, y] : {std::pair{30, 10}, {40, 10}, {40, 20}, {30, 20}}) polyVertex(x, y, 0, 0, 0x00FF00);
    endPoly();
    EXPECT_EQ(colourAt(35, 15), black);
    setAlphaMode(-1);
    startPoly(-1);  // in the key colour: alpha 0
    for (auto [x, y] : {std::pair{50, 10}, {50, 20}, {60, 20}, {60, 10}}) polyVertex(x, y, 0, 0, 0x8000ff);
    endPoly();
    EXPECT_EQ(colourAt(55, 15), black);
}

TEST_F(Drawing, TexturedPolygonsMapPicturePositions) {
    makeQuarters(4, 4);
    setSmoothing(0);
    startPoly(4);  // the picture's green quarter stretched over 20 x 20
    polyVertex(100, 100, 2, 0, 0xFFFFFF);
    polyVertex(100, 120, 2, 2, 0xFFFFFF);
    polyVertex(120, 120, 4, 2, 0xFFFFFF);
    polyVertex(120, 100, 4, 0, 0xFFFFFF);
    endPoly();
    EXPECT_EQ(colourAt(101, 101), green);
    EXPECT_EQ(colourAt(118, 118), green);
}

TEST_F(Drawing, AlphaModesBlendAsTheirSignAndSizeSay) {
    drawRect(0, 0, 40, 10, 0x000064);  // red 100 below everything
    makeQuarters(5, 4);
    setAlphaMode(0.3);   // additive at 30 %: 100 + 255 x 0.3
    drawSprite(5, 0, 0);
    EXPECT_NEAR(colourAt(0, 0).red, 100 + 76, 1);
    setAlphaMode(-2);    // ordinary blending at full opacity
    drawSprite(5, 10, 0);
    EXPECT_EQ(colourAt(10, 0), red);
    setAlphaMode(-0.5);  // half way between the two
    drawSprite(5, 20, 0);
    EXPECT_NEAR(colourAt(22, 0).green, 127, 1);
    EXPECT_NEAR(colourAt(22, 0).red, 50, 1);
    setAlphaMode(-0.04); // below the alpha test: nothing at all
    drawSprite(5, 30, 0);
    EXPECT_EQ(colourAt(30, 0).red, 100);
    setAlphaMode(0);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(openGLKestrel->globalAlpha, 1.0f);
}

TEST_F(Drawing, TheViewportMovesTheOriginAndClips) {
    makeQuarters(6, 4);
    setViewport(100, 50, 200, 100);
    drawSprite(6, 0, 0);
    EXPECT_EQ(colourAt(100, 50), red);
    drawRect(-10, -10, 500, 500, 0x00FF00);
    EXPECT_EQ(colourAt(299, 149), green);
    EXPECT_EQ(colourAt(300, 149), black);
    EXPECT_EQ(colourAt(99, 60), black);
    NumValue width = 0, height = 0;
    getScreenSize(width, height);  // the screen, not the viewport
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);
    setViewport(5, 7, 0, 100);  // no width: the whole window, offset kept
    EXPECT_EQ(openGLKestrel->viewport.width, 640);
    drawSprite(6, 0, 0);
    EXPECT_EQ(colourAt(5, 7), red);
}

TEST_F(Drawing, SmoothingLastsOnlyUntilTheNextFrame) {
    setSmoothing(0);
    EXPECT_FALSE(openGLKestrel->smoothing);
    showScreen();
    EXPECT_TRUE(openGLKestrel->smoothing);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

TEST_F(Drawing, SetPixelLightsTheAddressedPixel) {
    glClear(GL_COLOR_BUFFER_BIT);
    setPixel(100, 100, 0x0000FF);  // red
    setPixel(7.9, 3.2, 0xFF0000);  // blue
    glFinish();
    EXPECT_EQ(test::readPixel(100, 100)[0], 255);
    EXPECT_EQ(test::readPixel(100, 99)[0], 0);
    EXPECT_EQ(test::readPixel(101, 100)[0], 0);
    EXPECT_EQ(test::readPixel(8, 3)[2], 255);  // 7.9 + 3/8 lies in column 8
}

} // namespace
} // namespace tarvoke
