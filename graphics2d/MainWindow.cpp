#include "graphics2d/MainWindow.h"
#include <GL/gl.h>
#include "graphics2d/GlExtensions.h"
#include "platform/Clock.h"

namespace tarvoke {
namespace {

// Waits for the display to settle after its mode changed back, so the next drawing is seen.
constexpr int displayRestoreWaitMs = 500;

// 16-bit colour is 5-6-5; otherwise 8 bits a channel. Always 24 depth and 8 stencil bits; a
// multisampled format also asks destination alpha, as the engine always has.
platform::GlWindowRequest pixelFormatRequest(int width, int height, int colourBits, int samples) {
    platform::GlWindowRequest request;
    request.width = width;
    request.height = height;
    const bool sixteenBits = colourBits == 16;
    request.redBits = request.blueBits = sixteenBits ? 5 : 8;
    request.greenBits = sixteenBits ? 6 : 8;
    request.alphaBits = samples > 0 ? 8 : 0;
    request.depthBits = 24;
    request.stencilBits = 8;
    request.multisampleCount = samples;
    return request;
}

platform::NativeWindow* createWithSampleSearch(platform::GlWindowRequest request, int& samplesInUse) {
    for (int samples = request.multisampleCount; samples > 0; samples >>= 1) {
        request.multisampleCount = samples;
        request.alphaBits = 8;
        if (platform::NativeWindow* window = platform::createGlWindow(request)) {
            samplesInUse = samples;
            return window;
        }
    }
    samplesInUse = 0;
    request.multisampleCount = 0;
    request.alphaBits = 0;
    return platform::createGlWindow(request);
}

} // namespace

// Asked once, while the window's own frame buffer is bound: these never change for a context.
void MainWindow::readContextLimits() {
    GLint largest = 0, alphaBits = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    glGetIntegerv(GL_ALPHA_BITS, &alphaBits);
    maxTextureSize = largest;
    hasDestinationAlpha = alphaBits > 0;
}

bool MainWindow::open(int width, int height, int depth, int samples) {
    if (!platform::initVideo()) return false;
    const platform::DisplayMode desktop = platform::desktopMode();
    colourDepth = depth != 0 ? depth : desktop.bitsPerPixel;
    if (width == 0) width = desktop.width;
    if (height == 0) height = desktop.height;

    window = createWithSampleSearch(pixelFormatRequest(width, height, colourDepth, samples), multisampleCount);
    if (!window) return false;

    screenWidth = width;
    screenHeight = height;
    isFullScreen = false;
    platform::suppressScreenSaver();
    loadExtensionEntryPoints();
    loadFramebufferFunctions();
    readContextLimits();
    return true;
}

void MainWindow::setWindowed() {
    if (!window) return;
    if (isFullScreen) {
        platform::leaveFullScreen(window);
        platform::sleepMilliseconds(displayRestoreWaitMs);
    }
    platform::setWindowClientSize(window, screenWidth, screenHeight);
    platform::showWindow(window);
    platform::raiseWindow(window);
    isFullScreen = false;
}

MainWindow::FullScreenResult MainWindow::setFullScreen() {
    if (!window) return FullScreenResult::NoDisplayMode;
    const int desktopDepth = platform::desktopMode().bitsPerPixel;
    const bool askDepth = colourDepth != 0 && colourDepth != desktopDepth;
    bool entered = askDepth && platform::enterFullScreen(window, screenWidth, screenHeight, colourDepth);
    if (!entered) entered = platform::enterFullScreen(window, screenWidth, screenHeight, 0);
    if (!entered) return FullScreenResult::NoDisplayMode;
    platform::showWindow(window);
    platform::raiseWindow(window);
    isFullScreen = true;
    return FullScreenResult::Done;
}

void MainWindow::hide() {
    if (!window) return;
    if (isFullScreen) platform::leaveFullScreen(window);
    platform::hideWindow(window);
    isFullScreen = false;
}

void MainWindow::close() {
    if (!window) return;
    if (isFullScreen) platform::leaveFullScreen(window);
    platform::destroyWindow(window);
    window = nullptr;
    screenWidth = screenHeight = 0;
    isFullScreen = false;
    glReady = false;
    maxTextureSize = 0;
    hasDestinationAlpha = false;
}

} // namespace tarvoke
