// The main window and its context, opened by start-up in this process (offscreen driver).
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <unistd.h>
#include "graphics2d/OpenGLKestrel.h"
#include "graphics2d/GlExtensions.h"
#include "support/ScreenReadback.h"
#include "support/TestSupport.h"
#include "platform/Dialogs.h"

namespace tarvoke {
namespace {

using test::EngineRun;
using test::readPixel;
using test::ScopedTempDir;

TEST(Window, StartUpGivesTheAskedClientAreaWithDepthAndStencil) {
    ScopedTempDir temp;
    EngineRun engine;
    ASSERT_NE(openGLKestrel, nullptr);
    ASSERT_NE(openGLKestrel->main.window, nullptr);
    int width = 0, height = 0;
    platform::clientSize(openGLKestrel->main.window, width, height);
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 640);
    EXPECT_EQ(viewport[3], 480);
    GLint depthBits = 0, stencilBits = 0;
    GLboolean doubleBuffered = GL_FALSE;
    glGetIntegerv(GL_DEPTH_BITS, &depthBits);
    glGetIntegerv(GL_STENCIL_BITS, &stencilBits);
    glGetBooleanv(GL_DOUBLEBUFFER, &doubleBuffered);
    EXPECT_EQ(depthBits, 24);
    EXPECT_EQ(stencilBits, 8);
    EXPECT_TRUE(openGLKestrel->main.glReady);
    EXPECT_EQ(openGLKestrel->main.multisampleCount, 0);
}

TEST(Window, CaptionIsTheTitleAndTheHandleIsKnown) {
    ScopedTempDir temp;
    EngineRun engine(ProjectSettings{}, "Caption \xE4 test");
    EXPECT_EQ(platform::windowCaption(openGLKestrel->main.window), "Caption \xE4 test");
    EXPECT_STREQ(windowTitle.cStr(), "Caption \xE4 test");
    EXPECT_NE(getWindowHandle(), 0.0);
}

TEST(Window, ExtensionEntryPointsLoadWhenTheDriverNamesThem) {
    ScopedTempDir temp;
    EngineRun engine;
    // llvmpipe offers multitexture, vertex buffers, shader objects and framebuffer objects.
    EXPECT_NE(glExt.activeTexture, nullptr);
    EXPECT_NE(glExt.genBuffers, nullptr);
    EXPECT_NE(glExt.getBufferParameteriv, nullptr);
    EXPECT_TRUE(glExt.hasShaderObjects());
    EXPECT_NE(glExt.uniform1i, nullptr);
    EXPECT_NE(glExt.genFramebuffers, nullptr);
    EXPECT_NE(glExt.framebufferRenderbuffer, nullptr);
    EXPECT_TRUE(hasExtension("GL_ARB_multitexture"));
    EXPECT_FALSE(hasExtension("GL_ARB_multi"));       // a prefix is not a word
    EXPECT_FALSE(hasExtension("ARB_multitexture"));   // nor a suffix
    EXPECT_FALSE(hasExtension(""));
}

TEST(Window, APixelDrawnReadsBackAtItsTopLeftPosition) {
    ScopedTempDir temp;
    EngineRun engine;
    glClear(GL_COLOR_BUFFER_BIT);
    test::fillRect(10, 20, 5, 3, 200, 100, 50);
    glFinish();
    const auto inside = readPixel(10, 20);
    EXPECT_EQ(inside[0], 200);
    EXPECT_EQ(inside[1], 100);
    EXPECT_EQ(inside[2], 50);
    EXPECT_EQ(readPixel(14, 22)[0], 200);
    EXPECT_EQ(readPixel(15, 22)[0], 0);  // one past the right edge
    EXPECT_EQ(readPixel(14, 23)[0], 0);  // one past the bottom edge
    EXPECT_EQ(readPixel(9, 20)[0], 0);
}

TEST(Window, HiddenShowCommandHidesTheWindowButFramesAreStillMade) {
    ScopedTempDir temp;
    EngineRun engine(ProjectSettings{}, "Hidden", 0);
    EXPECT_FALSE(platform::isWindowShown(openGLKestrel->main.window));
    test::fillRect(0, 0, 8, 8, 0, 255, 0);
    glFinish();
    EXPECT_EQ(readPixel(3, 3)[1], 255);
    showScreen();  // presenting a hidden window must not fail
    EXPECT_FALSE(platform::isWindowShown(openGLKestrel->main.window));
}

TEST(Window, TheTwoDStateIsAPixelGridWithYDown) {
    ScopedTempDir temp;
    EngineRun engine;
    resetState2D(100, 50, 200, 100);
    EXPECT_EQ(openGLKestrel->viewport.x, 100);
    EXPECT_EQ(openGLKestrel->viewport.width, 200);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 100);
    EXPECT_EQ(viewport[1], 480 - 100 - 50);  // GL counts from the bottom
    glClear(GL_COLOR_BUFFER_BIT);
    test::fillRect(0, 0, 2, 2, 255, 255, 255);
    glFinish();
    EXPECT_EQ(readPixel(100, 50)[0], 255);  // the viewport's origin
    EXPECT_EQ(readPixel(0, 0)[0], 0);
    resetState2D(7, 9, 0, 100);  // a zero width means the whole screen, offset kept
    EXPECT_EQ(openGLKestrel->viewport.width, 640);
    EXPECT_EQ(openGLKestrel->viewport.height, 480);
    EXPECT_EQ(openGLKestrel->viewport.x, 7);
    EXPECT_TRUE(openGLKestrel->smoothing);
}

TEST(Window, ShutdownReleasesEverythingAndIsSafeTwice) {
    ScopedTempDir temp;
    {
        EngineRun engine;
        ASSERT_NE(openGLKestrel, nullptr);
    }
    EXPECT_EQ(openGLKestrel, nullptr);
    EXPECT_EQ(getWindowHandle(), 0.0);
    shutdownEngine();
    EXPECT_EQ(openGLKestrel, nullptr);
    // A new start after the shutdown works again.
    EngineRun again;
    EXPECT_NE(openGLKestrel, nullptr);
    EXPECT_NE(openGLKestrel->main.window, nullptr);
}

// The software-renderer warning: recorded instead of shown.
std::vector<std::pair<std::string, std::string>> shownBoxes;
void recordBox(const std::string& caption, const std::string& text, platform::MessageIcon icon) {
    EXPECT_EQ(icon, platform::MessageIcon::Warning);
    shownBoxes.emplace_back(caption, text);
}

TEST(Window, TheKnownSoftwareRendererIsWarnedAboutOncePerProcess) {
    ScopedTempDir temp;
    platform::setMessageBoxHook(recordBox);
    overrideRendererName("Mesa Windows GDI Driver");
    {
        EngineRun engine;
        ASSERT_EQ(shownBoxes.size(), 1u);
        EXPECT_EQ(shownBoxes[0].first, "!!OpenGL Software Emulation!!");
        const std::string& text = shownBoxes[0].second;
        EXPECT_EQ(text,
                  "Please update your GFX adapter's driver\nso it can render OpenGL by HARDWARE\n\n\n"
                  "Bitte aktualisieren Sie Ihren\nGrafkkartentreiber, damit er OpenGL\n"
                  "per HARDWARE unterst\xFCtzt!");
        EXPECT_EQ(test::readFile(temp.file("ErrorLog.txt")), "OpenGL Software Emulation\r\n");
        openGLKestrel->setScreenMode(320, 240, 0, false);  // a mode switch does not warn again
    }
    EngineRun again;  // nor does a second window in the same process
    EXPECT_EQ(shownBoxes.size(), 1u);
    overrideRendererName("");
    platform::setMessageBoxHook(nullptr);
}

TEST(Window, OnlyTheExactSoftwareRendererNameCounts) {
    EXPECT_TRUE(isSoftwareRendererName("Mesa Windows GDI Driver"));
    EXPECT_FALSE(isSoftwareRendererName("Mesa Windows GDI Driver "));
    EXPECT_FALSE(isSoftwareRendererName("mesa windows gdi driver"));
    EXPECT_FALSE(isSoftwareRendererName("llvmpipe (LLVM 15.0.6, 256 bits)"));
}

TEST(Window, ScreenModeChangesResizeTheClientArea) {
    ScopedTempDir temp;
    EngineRun engine;
    openGLKestrel->setScreenMode(320, 200, 0, false);
    int width = 0, height = 0;
    platform::clientSize(openGLKestrel->main.window, width, height);
    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 200);
    EXPECT_EQ(openGLKestrel->viewport.width, 320);
    EXPECT_FALSE(openGLKestrel->main.isFullScreen);
}

} // namespace
} // namespace tarvoke
