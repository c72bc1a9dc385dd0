// MainWindow: the game's one window and its OpenGL context: the pixel format it asks for, the
// multisample search, the windowed, full-screen and hidden states, and extension loading.
// What the engine does around these (log lines, warnings, the 2D state) is OpenGLKestrel's.
#pragma once
#include "platform/Video.h"

namespace tarvoke {

struct MainWindow {
    platform::NativeWindow* window = nullptr;  // null while closed
    int screenWidth = 0;        // client size in pixels (also the full-screen mode size)
    int screenHeight = 0;
    int colourDepth = 0;        // bits per pixel asked for; 0 at creation means the desktop's
    bool isFullScreen = false;  // true while the display mode is changed for this window
    int multisampleCount = 0;   // samples per pixel in use; 0 = none
    bool glReady = false;       // a window and context exist; GL objects may be deleted
    int maxTextureSize = 0;     // the largest texture side the context offers
    bool hasDestinationAlpha = false;  // the window's frame buffer keeps alpha

    // Creates the hidden window and its context, searching the multisampled format downwards
    // (n, n/2, ... 1) when samples are asked, then plain. Loads the extension entry points.
    bool open(int width, int height, int depth, int samples);
    void setWindowed();
    enum class FullScreenResult { Done, NoDisplayMode };
    // Tries the asked depth, then the desktop's; on NoDisplayMode the window is left as it was.
    FullScreenResult setFullScreen();
    void hide();
    void close();

private:
    void readContextLimits();
};

} // namespace tarvoke
