// Start, stop and the frame boundary of 2D graphics.
#include "graphics2d/Graphics2D.h"
#include <GL/gl.h>
#include <memory>
#include <vector>
#include "graphics2d/Background.h"
#include "graphics2d/GlExtensions.h"
#include "graphics2d/OpenGLKestrel.h"
#include "graphics2d/PngWriter.h"
#include "graphics2d/Screens.h"
#include "tarvoke/core.h"
#include "tarvoke/graphics2d.h"

namespace tarvoke {
namespace {

std::unique_ptr<OpenGLKestrel> ownedKestrel;

platform::NativeWindow* nativeWindow() { return openGLKestrel ? openGLKestrel->main.window : nullptr; }

} // namespace

bool startGraphics2D() {
    if (!ownedKestrel) ownedKestrel = std::make_unique<OpenGLKestrel>();
    openGLKestrel = ownedKestrel.get();
    return true;
}

bool isGraphics2DStarted() { return openGLKestrel != nullptr; }

bool openMainWindow() {
    return openGLKestrel && openGLKestrel->createWindow(projectSettings.screenWidth, projectSettings.screenHeight, 0,
                                                        projectSettings.multisampleCount) != 0;
}

bool hasMainWindow() { return nativeWindow() != nullptr; }

std::uint32_t mainWindowHandle() { return platform::nativeHandle(nativeWindow()); }

void setMainWindowCaption(const std::string& caption) { platform::setWindowCaption(nativeWindow(), caption); }

bool applyScreenModeSetting() {
    if (!openGLKestrel) return true;
    if (projectSettings.fullScreen == 0)
        openGLKestrel->setWindowedMode();
    else
        openGLKestrel->setFullScreenMode();
    return true;
}

void hideMainWindow() {
    if (openGLKestrel) openGLKestrel->hideWindow();
}

void showAndRaiseMainWindow() {
    platform::showWindow(nativeWindow());
    platform::raiseWindow(nativeWindow());
}

void printLoadingText() {
    if (!openGLKestrel) return;
    const StrValue message = "Loading...";
    NumValue cellWidth = 0, cellHeight = 0;
    getFontSize(cellWidth, cellHeight);
    const NumValue textWidth = NumValue(message.length()) * cellWidth;
    printText(message, (openGLKestrel->main.screenWidth - textWidth) * 0.5,
              (openGLKestrel->main.screenHeight - cellHeight) * 0.5);
}

bool hasGlExtension(const std::string& name) { return hasMainWindow() && hasExtension(name); }

// The pointer stays set while the destructor runs: releasing textures and screens asks it
// whether the context still exists.
void stopGraphics2D() {
    ownedKestrel.reset();
    openGLKestrel = nullptr;
}

void finishFrame2D() { endScreen(); }

void swapFrame() { platform::swapBuffers(nativeWindow()); }

void clearFrame() { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); }

// Every frame starts from the same defaults with the background already painted.
void resetFrame2D() {
    if (!openGLKestrel) return;
    glDisable(GL_BLEND);
    openGLKestrel->globalAlpha = 1.0f;
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    drawTiledImage(0);
    resetState2D(0, 0, 0, 0);
}

bool saveBackBufferAsPng(const std::string& path) {
    if (!hasMainWindow()) return false;
    const int width = openGLKestrel->main.screenWidth, height = openGLKestrel->main.screenHeight;
    std::vector<std::uint8_t> bottomUp(std::size_t(width) * std::size_t(height) * 4);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    const std::size_t rowBytes = std::size_t(width) * 4;
    std::vector<std::uint8_t> topDown(bottomUp.size());
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* from = bottomUp.data() + std::size_t(height - 1 - y) * rowBytes;
        std::copy(from, from + rowBytes, topDown.begin() + std::ptrdiff_t(std::size_t(y) * rowBytes));
    }
    for (std::size_t alpha = 3; alpha < topDown.size(); alpha += 4) topDown[alpha] = 255;
    return writePngFile(path, width, height, topDown.data());
}

} // namespace tarvoke
