// The screen and sprites saved as BMP and PNG, read back through the engine's own readers.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include "graphics2d/ImageFiles.h"
#include "graphics2d/OpenGLKestrel.h"
#include "support/PictureFiles.h"
#include "support/ScreenReadback.h"
#include "support/EngineTest.h"

namespace tarvoke {
namespace {

using test::Rgb;

constexpr Rgb red{255, 0, 0}, green{0, 200, 0}, blue{0, 0, 255};

class Saving : public test::EngineTest {
protected:
    Image reload(const std::string& path) {
        Image image;
        EXPECT_TRUE(readImageFile(image, path, noColourKey)) << path;
        return image;
    }
    std::array<std::uint8_t, 4> at(const Image& image, int x, int y) {
        const std::uint8_t* p = image.pixel(x, y);
        return {p[0], p[1], p[2], p[3]};
    }
};

TEST_F(Saving, TheScreenSavesAndLoadsBackThePixelsShown) {
    glClear(GL_COLOR_BUFFER_BIT);
    test::fillRect(10, 20, 30, 5, 40, 80, 120);
    for (const char* name : {"screen.bmp", "screen.png"}) {
        ASSERT_EQ(saveScreen(temp.file(name).c_str()), 1);
        const Image image = reload(temp.file(name));
        ASSERT_EQ(image.width, 640);
        ASSERT_EQ(image.height, 480);
        EXPECT_EQ(at(image, 10, 20), (std::array<std::uint8_t, 4>{40, 80, 120, 255})) << name;
        EXPECT_EQ(at(image, 39, 24), (std::array<std::uint8_t, 4>{40, 80, 120, 255})) << name;
        EXPECT_EQ(at(image, 40, 24)[0], 0) << name;
    }
    EXPECT_EQ(saveScreen(temp.file("no/such/folder/x.bmp").c_str()), 0);
}

TEST_F(Saving, WithTheKeyBlackBmpWritesBlackAsTheKeyColourAndPngKeepsItOpaque) {
    setTransparency(0);
    glClear(GL_COLOR_BUFFER_BIT);
    test::fillRect(0, 0, 2, 2, 9, 9, 9);
    ASSERT_EQ(saveScreen(temp.file("black.bmp").c_str()), 1);
    ASSERT_EQ(saveScreen(temp.file("black.png").c_str()), 1);
    EXPECT_EQ(at(reload(temp.file("black.bmp")), 100, 100), (std::array<std::uint8_t, 4>{255, 0, 128, 255}));
    EXPECT_EQ(at(reload(temp.file("black.bmp")), 1, 1), (std::array<std::uint8_t, 4>{9, 9, 9, 255}));
    EXPECT_EQ(at(reload(temp.file("black.png")), 100, 100), (std::array<std::uint8_t, 4>{0, 0, 0, 255}));
}

TEST_F(Saving, TheDefaultKeyShownOnScreenBecomesTransparentInPng) {
    glClear(GL_COLOR_BUFFER_BIT);
    test::fillRect(50, 50, 1, 1, 255, 0, 128);
    test::fillRect(51, 50, 1, 1, 0, 0, 128);  // equal to the key but for red
    ASSERT_EQ(saveScreen(temp.file("keyed.png").c_str()), 1);
    const Image image = reload(temp.file("keyed.png"));
    EXPECT_EQ(at(image, 50, 50)[3], 0);
    EXPECT_EQ(at(image, 51, 50)[3], 255);
    EXPECT_EQ(at(image, 4, 4), (std::array<std::uint8_t, 4>{0, 0, 0, 255}));  // the probe was put back
}

TEST_F(Saving, ASavedSpriteIsUpright) {
    std::vector<Rgb> pixels = test::filled(5, 3, blue);
    test::put(pixels, 5, 0, 0, red);
    test::put(pixels, 5, 4, 2, green);
    loadSprite(bmp("sprite.bmp", 5, 3, pixels).c_str(), 11);
    for (const char* name : {"copy.bmp", "copy.png"}) {
        ASSERT_EQ(saveSprite(temp.file(name).c_str(), 11), 1);
        const Image image = reload(temp.file(name));
        ASSERT_EQ(image.width, 5);
        ASSERT_EQ(image.height, 3);
        EXPECT_EQ(at(image, 0, 0), (std::array<std::uint8_t, 4>{255, 0, 0, 255})) << name;
        EXPECT_EQ(at(image, 4, 2), (std::array<std::uint8_t, 4>{0, 200, 0, 255})) << name;
        EXPECT_EQ(at(image, 2, 1), (std::array<std::uint8_t, 4>{0, 0, 255, 255})) << name;
    }
    EXPECT_EQ(saveSprite(temp.file("empty.bmp").c_str(), 12), 0);
}

TEST_F(Saving, BlendingOnWritesTheSameFilesAsBlendingOff) {
    glClear(GL_COLOR_BUFFER_BIT);
    test::fillRect(0, 0, 40, 40, 200, 30, 60);  // covers the pixel the key probe draws on
    test::fillRect(50, 50, 4, 4, 255, 0, 128);  // the default key as shown
    for (const char* extension : {".png", ".bmp"}) {
        setAlphaMode(-0.5);
        ASSERT_EQ(saveScreen(temp.file(std::string("blended") + extension).c_str()), 1);
        setAlphaMode(0);
        ASSERT_EQ(saveScreen(temp.file(std::string("plain") + extension).c_str()), 1);
        EXPECT_EQ(test::readFile(temp.file(std::string("blended") + extension)),
                  test::readFile(temp.file(std::string("plain") + extension))) << extension;
    }
    EXPECT_EQ(at(reload(temp.file("blended.png")), 10, 10), (std::array<std::uint8_t, 4>{200, 30, 60, 255}));
    setAlphaMode(-0.5);
    saveScreen(temp.file("again.png").c_str());
    EXPECT_TRUE(glIsEnabled(GL_BLEND)) << "the probe left blending off";
}

} // namespace
} // namespace tarvoke
