// OpenGLKestrel's window operations: what the engine does around opening, switching and closing
// the main window (software-renderer warning, 2D state, log lines).
#include <GL/gl.h>
#include "graphics2d/OpenGLKestrel.h"
#include "graphics2d/Screens.h"
#include "tarvoke/core.h"
#include "platform/Dialogs.h"

namespace tarvoke {
namespace {

bool softwareCheckDone = false;       // the check runs once per process
std::string rendererNameOverride;     // set by tests

const char softwareWarningCaption[] = "!!OpenGL Software Emulation!!";
// Windows-1252 bytes; "\xFC" is the u with diaeresis.
const char softwareWarningText[] =
    "Please update your GFX adapter's driver\n"
    "so it can render OpenGL by HARDWARE\n"
    "\n"
    "\n"
    "Bitte aktualisieren Sie Ihren\n"
    "Grafkkartentreiber, damit er OpenGL\n"
    "per HARDWARE unterst\xFCtzt!";

std::string driverRendererName() {
    if (!rendererNameOverride.empty()) return rendererNameOverride;
    const GLubyte* name = glGetString(GL_RENDERER);
    return name ? reinterpret_cast<const char*>(name) : "";
}

} // namespace

bool isSoftwareRendererName(const std::string& rendererName) {
    return rendererName == "Mesa Windows GDI Driver";
}

void overrideRendererName(const std::string& rendererName) { rendererNameOverride = rendererName; }

void OpenGLKestrel::warnIfSoftwareRenderer() {
    if (softwareCheckDone) return;
    softwareCheckDone = true;
    if (!isSoftwareRendererName(driverRendererName())) return;
    platform::showMessageBox(softwareWarningCaption, softwareWarningText, platform::MessageIcon::Warning);
    appendErrorLog("OpenGL Software Emulation");
}

OpenGLKestrel* openGLKestrel = nullptr;

OpenGLKestrel::~OpenGLKestrel() {
    if (main.glReady) releaseScreens();
    closeWindow();
}

int largestTextureSide() { return openGLKestrel ? openGLKestrel->main.maxTextureSize : 0; }

int OpenGLKestrel::createWindow(int width, int height, int colourDepth, int multisampleCount) {
    if (!main.open(width, height, colourDepth, multisampleCount)) return 0;
    warnIfSoftwareRenderer();
    platform::showWindow(main.window);
    resetState2D(0, 0, 0, 0);
    main.glReady = true;
    return 1;
}

int OpenGLKestrel::setWindowedMode() {
    main.setWindowed();
    resetState2D(0, 0, 0, 0);
    return 1;
}

int OpenGLKestrel::setFullScreenMode() {
    if (main.setFullScreen() == MainWindow::FullScreenResult::NoDisplayMode) {
        platform::warningBeep();
        appendErrorLog("No Fullscreen Mode available");
        setWindowedMode();
        return 0;
    }
    resetState2D(0, 0, 0, 0);
    return 1;
}

void OpenGLKestrel::hideWindow() { main.hide(); }

void OpenGLKestrel::setScreenMode(int width, int height, int colourDepth, bool fullScreen) {
    if (width != 0) main.screenWidth = width;
    if (height != 0) main.screenHeight = height;
    if (colourDepth != 0) main.colourDepth = colourDepth;
    if (fullScreen)
        setFullScreenMode();
    else
        setWindowedMode();
}

void OpenGLKestrel::closeWindow() {
    if (main.glReady) sprites.freeAll();  // texture names go while the context still exists
    main.close();
}

} // namespace tarvoke
