#include "platform/MainWindow.h"
#include "platform/GlExtensions.h"

namespace tarvoke {
namespace {

// Waits for the display to settle after its mode changed back, so the next drawing is seen.
constexpr int displayRestoreWaitMs = 500;

platform::NativeWindow* createWithSampleSearch(platform::GlWindowRequest request, int& samplesInUse) {
    for (int samples = request.multisampleCount; samples > 0; samples >>= 1) {
        request.multisampleCount = samples;
        if (platform::NativeWindow* window = platform::createGlWindow(request)) {
            samplesInUse = samples;
            return window;
        }
    }
    samplesInUse = 0;
    request.multisampleCount = 0;
    return platform::createGlWindow(request);
}

} // namespace

bool MainWindow::open(int width, int height, int depth, int samples) {
    if (!platform::initVideo()) return false;
    const platform::DisplayMode desktop = platform::desktopMode();
    colourDepth = depth != 0 ? depth : desktop.bitsPerPixel;
    if (width == 0) width = desktop.width;
    if (height == 0) height = desktop.height;

    platform::GlWindowRequest request;
    request.width = width;
    request.height = height;
    request.colourBits = colourDepth;
    request.multisampleCount = samples;
    window = createWithSampleSearch(request, multisampleCount);
    if (!window) return false;

    screenWidth = width;
    screenHeight = height;
    isFullScreen = false;
    platform::suppressScreenSaver();
    loadExtensionEntryPoints();
    loadFramebufferFunctions();
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
}

} // namespace tarvoke
