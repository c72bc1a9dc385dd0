// Window modes that need the X server: multisampled formats and full-screen display modes.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include "core/Errors.h"
#include "graphics2d/OpenGLKestrel.h"
#include "support/TestSupport.h"

namespace tarvoke {
namespace {

using test::EngineRun;
using test::ScopedTempDir;

ProjectSettings withSamples(int samples) {
    ProjectSettings settings;
    settings.multisampleCount = samples;
    return settings;
}

TEST(Multisampling, EightSamplesFallBackToTheFourTheDriverOffers) {
    ScopedTempDir temp;
    EngineRun engine(withSamples(8));
    ASSERT_NE(openGLKestrel->main.window, nullptr);
    EXPECT_EQ(openGLKestrel->main.multisampleCount, 4);
    GLint samples = 0;
    glGetIntegerv(GL_SAMPLES, &samples);
    EXPECT_EQ(samples, 4);
}

TEST(Multisampling, NoSamplesAskedGivesAPlainFormat) {
    ScopedTempDir temp;
    EngineRun engine(withSamples(0));
    GLint samples = -1;
    glGetIntegerv(GL_SAMPLES, &samples);
    EXPECT_EQ(samples, 0);
    EXPECT_EQ(openGLKestrel->main.multisampleCount, 0);
}

TEST(FullScreen, ASizeTheDisplayLacksStaysWindowedAndIsLogged) {
    ScopedTempDir temp;
    ProjectSettings settings;
    settings.fullScreen = 1;  // 640 x 480 on a 1024 x 768 screen with no other modes
    EngineRun engine(settings);
    EXPECT_FALSE(openGLKestrel->main.isFullScreen);
    EXPECT_NE(openGLKestrel->main.window, nullptr);
    int width = 0, height = 0;
    platform::clientSize(openGLKestrel->main.window, width, height);
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);
    EXPECT_EQ(test::readFile(errorLogPath()), "No Fullscreen Mode available\r\n");
}

TEST(FullScreen, TheDisplaysOwnSizeSwitchesAndBackKeepingTheContext) {
    ScopedTempDir temp;
    EngineRun engine;
    const platform::DisplayMode desktop = platform::desktopMode();
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    openGLKestrel->setScreenMode(desktop.width, desktop.height, 0, true);
    EXPECT_TRUE(openGLKestrel->main.isFullScreen);
    EXPECT_EQ(openGLKestrel->viewport.width, desktop.width);
    EXPECT_TRUE(glIsTexture(texture)) << "the context did not survive the switch";
    openGLKestrel->setScreenMode(640, 480, 0, false);
    EXPECT_FALSE(openGLKestrel->main.isFullScreen);
    int width = 0, height = 0;
    platform::clientSize(openGLKestrel->main.window, width, height);
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);
    EXPECT_TRUE(glIsTexture(texture));
    openGLKestrel->hideWindow();
    EXPECT_FALSE(platform::isWindowShown(openGLKestrel->main.window));
    EXPECT_TRUE(glIsTexture(texture));
}

} // namespace
} // namespace tarvoke
