// Grabs of the screen, the background picture, and offscreen screens in both modes.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include "core/Engine.h"
#include "graphics2d/OpenGLKestrel.h"
#include "graphics2d/Screens.h"
#include "support/PictureFiles.h"
#include "support/ScreenReadback.h"
#include "support/TestSupport.h"

namespace tarvoke {
namespace {

using test::Rgb;
using test::colourAt;

constexpr Rgb red{255, 0, 0}, green{0, 255, 0}, blue{0, 0, 255}, black{0, 0, 0};


class Grabs : public testing::Test {
protected:
    void SetUp() override { glClear(GL_COLOR_BUFFER_BIT); }
    test::ScopedTempDir temp;
    test::EngineRun engine;
};

TEST_F(Grabs, TextureSidesStartAtThirtyTwoAndTheSizeIsTheArea) {
    grabSprite(1, 0, 0, 20, 20);
    EXPECT_EQ(openGLKestrel->sprites.slot(1).textureWidth, 32);
    EXPECT_EQ(openGLKestrel->sprites.slot(1).textureHeight, 32);
    EXPECT_EQ(grabSprite(2, 0, 0, 33, 20), 1);
    EXPECT_EQ(openGLKestrel->sprites.slot(2).textureWidth, 64);
    EXPECT_EQ(openGLKestrel->sprites.slot(2).textureHeight, 32);
    NumValue width = 0, height = 0;
    getSpriteSize(2, width, height);
    EXPECT_EQ(width, 33);
    EXPECT_EQ(height, 20);
    const GLuint name = openGLKestrel->sprites.slot(2).texture.name();
    grabSprite(2, 5, 5, 40, 30);  // same texture size: the texture is reused
    EXPECT_EQ(openGLKestrel->sprites.slot(2).texture.name(), name);
    EXPECT_EQ(grabSprite(3, 0, 0, 0, 10), 0);
    EXPECT_EQ(grabSprite(3, 0, 0, 1e9, 10), 0);
}

TEST_F(Grabs, AGrabDrawnBackReproducesThePixelsAndDropsTheKey) {
    drawRect(10, 10, 8, 4, 0x0000FF);
    drawRect(10, 14, 8, 4, 0x00FF00);
    drawRect(12, 12, 2, 2, 0x8000ff);  // the key colour: transparent after the grab
    grabSprite(4, 10, 10, 8, 8);
    drawRect(0, 0, 640, 480, 0xFF0000);
    setSmoothing(0);
    drawSprite(4, 100, 100);
    EXPECT_EQ(colourAt(100, 100), red);
    EXPECT_EQ(colourAt(107, 103), red);
    EXPECT_EQ(colourAt(100, 104), green);
    EXPECT_EQ(colourAt(107, 107), green);
    EXPECT_EQ(colourAt(102, 102), blue);  // the keyed pixels let the blue below through
    EXPECT_EQ(colourAt(108, 100), blue);
}

TEST_F(Grabs, AGrabReachingPastTheWindowIsPaddedTransparent) {
    drawRect(630, 470, 10, 10, 0x00FF00);
    ASSERT_EQ(grabSprite(5, 630, 470, 20, 20), 1);
    drawRect(0, 0, 640, 480, 0xFF0000);
    setSmoothing(0);
    drawSprite(5, 0, 0);
    EXPECT_EQ(colourAt(0, 0), green);
    EXPECT_EQ(colourAt(15, 15), blue);  // off the window when grabbed: transparent
}

TEST_F(Grabs, GetPixelReturnsTheColourValueSetPixelWrote) {
    setPixel(50, 60, 33023);  // red 255, green 128, blue 0
    EXPECT_EQ(getPixel(50, 60), 33023);
    EXPECT_EQ(getPixel(51, 60), 0);
}

TEST_F(Grabs, AGrabbedBackgroundIsPaintedUnderEveryNextFrame) {
    drawRect(0, 0, 16, 16, 0x00FF00);
    drawRect(600, 400, 40, 80, 0xFF0000);
    grabBackground();
    showScreen();  // the new frame starts from the background
    EXPECT_EQ(colourAt(5, 5), green);
    EXPECT_EQ(colourAt(639, 479), blue);
    EXPECT_EQ(colourAt(300, 300), black);
    clearBackground();
    showScreen();
    EXPECT_EQ(colourAt(5, 5), black);
}

TEST_F(Grabs, ALoadedBackgroundShowsNowAndUnderTheNextFrame) {
    const std::string path = temp.file("back.bmp");
    test::writeBmp24(path, 100, 50, test::filled(100, 50, Rgb{0, 0, 200}));
    loadBackground(path.c_str());
    EXPECT_EQ(colourAt(99, 49).blue, 200);  // painted at once
    showScreen();
    drawRect(0, 0, 10, 10, 0x0000FF);
    EXPECT_EQ(colourAt(50, 20).blue, 200);  // under the drawing of the next frame
    EXPECT_EQ(colourAt(100, 20), black);    // smaller than the window: the rest starts black
    EXPECT_EQ(colourAt(5, 5), red);
    EXPECT_EQ(test::readFile(temp.file("ErrorLog.txt")), "Loadbmp\r\nPallexing\r\nOK?\r\n");
    loadBackground(temp.file("missing.bmp").c_str());
    EXPECT_EQ(colourAt(50, 20), black);
    EXPECT_EQ(openGLKestrel->sprites.tiledImages[0].columns, 0);
}

TEST_F(Grabs, FadingEndsOnTheNewBackground) {
    const std::string path = temp.file("new.bmp");
    test::writeBmp24(path, 64, 64, test::filled(64, 64, Rgb{0, 180, 0}));
    drawRect(0, 0, 640, 480, 0x0000FF);
    const double start = now();
    fadeToBackground(path.c_str());
    EXPECT_GE(now() - start, 1400.0);
    EXPECT_EQ(colourAt(10, 10).green, 180);
    EXPECT_EQ(openGLKestrel->sprites.tiledImages[1].columns, 0);
    EXPECT_EQ(openGLKestrel->sprites.tiledImages[0].columns, 1);
}

// ---------------------------------------------------------------- offscreen screens

class Screens : public Grabs, public testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        forceScreenFallback(GetParam());
        Grabs::SetUp();
    }
};

TEST_P(Screens, DrawingGoesIntoTheSpriteTopLeftFirst) {
    createScreen(0, 10, 100, 50);
    const SpriteSlot& slot = openGLKestrel->sprites.slot(10);
    EXPECT_EQ(slot.textureWidth, 128);
    EXPECT_EQ(slot.textureHeight, 64);
    EXPECT_EQ(screenHasFramebufferObject(0), !GetParam());
    drawRect(0, 0, 640, 480, 0x00FF00);  // the back buffer's corner, to be restored
    useScreen(0);
    drawRect(0, 0, 100, 50, 0xFF0000);
    drawRect(0, 0, 1, 1, 0x0000FF);  // the screen's top-left pixel
    drawRect(99, 49, 1, 1, 0x00FFFF);
    useScreen(-1);
    EXPECT_EQ(colourAt(0, 0), green) << "the back buffer was not restored";
    EXPECT_EQ(colourAt(50, 25), green);
    setSmoothing(0);
    drawSprite(10, 200, 100);
    EXPECT_EQ(colourAt(200, 100), red);
    EXPECT_EQ(colourAt(299, 149), (Rgb{255, 255, 0}));
    EXPECT_EQ(colourAt(250, 120), blue);
    EXPECT_EQ(colourAt(300, 120), green);
}

TEST_P(Screens, DrawingContinuesOnTheScreensContentsAndEndsWithTheFrame) {
    createScreen(3, 11, 32, 32);
    useScreen(3);
    drawRect(0, 0, 32, 32, 0xFF0000);
    useScreen(-1);
    useScreen(3);
    drawRect(0, 0, 16, 32, 0x0000FF);  // half of it over the earlier drawing
    showScreen();                        // the frame loop ends the screen
    EXPECT_EQ(currentScreenNumber(), -1);
    setSmoothing(0);
    drawSprite(11, 0, 0);
    EXPECT_EQ(colourAt(0, 0), red);
    EXPECT_EQ(colourAt(20, 5), blue);
}

TEST_P(Screens, BadScreenNumbersAreIgnored) {
    createScreen(32, 12, 16, 16);
    createScreen(-1, 12, 16, 16);
    EXPECT_TRUE(openGLKestrel->sprites.slot(12).isEmpty());
    useScreen(40);
    EXPECT_EQ(currentScreenNumber(), -1);
    createScreen(0, 12, 0, 16);
    EXPECT_TRUE(openGLKestrel->sprites.slot(12).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(FramebufferObjectAndFallback, Screens, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) { return info.param ? "Fallback" : "FramebufferObject"; });

} // namespace
} // namespace tarvoke
