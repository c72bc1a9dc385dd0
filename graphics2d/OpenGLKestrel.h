// OpenGLKestrel: the engine's graphics singleton. Owns the main window and its OpenGL context,
// the sprite store and the fixed 2D drawing state that several drawing files share. State used
// by one file only (polygon and text vertices, grabs, offscreen screens) is that file's own.
// Created and destroyed by graphics2d's start and stop (Graphics2D.h); reached through
// `openGLKestrel`; only graphics2d touches its fields.
#pragma once
#include <string>
#include "graphics2d/MainWindow.h"
#include "graphics2d/SpriteStore.h"

namespace tarvoke {

struct Viewport {
    int x = 0, y = 0;           // top-left corner in window pixels, y from the top
    int width = 0, height = 0;
};

class OpenGLKestrel {
public:
    OpenGLKestrel() = default;
    virtual ~OpenGLKestrel();
    OpenGLKestrel(const OpenGLKestrel&) = delete;
    OpenGLKestrel& operator=(const OpenGLKestrel&) = delete;

    // ---- window and context
    MainWindow main;            // the window, its size, mode, context and the context's limits

    // ---- pictures
    SpriteStore sprites;        // sprite slots, tiled images, colour keys

    // ---- fixed 2D state
    Viewport viewport;          // the 2D drawing area last set
    float globalAlpha = 0.0f;   // opacity applied to sprites by the alpha modes
    bool smoothing = true;      // sprites drawn with linear filtering

    // Opens the window with its context, shows it and readies the 2D state. 1 on success.
    int createWindow(int width, int height, int colourDepth, int multisampleCount);
    int setWindowedMode();      // always 1
    int setFullScreenMode();    // 0 when no display mode fits; the window is then windowed
    void hideWindow();
    void setScreenMode(int width, int height, int colourDepth, bool fullScreen);
    void closeWindow();

private:
    void warnIfSoftwareRenderer();
};

extern OpenGLKestrel* openGLKestrel;  // null before start-up and after shutdown

// The largest texture side the context offers; 0 without a context.
int largestTextureSide();

// The 2D state: viewport x, y, w, h (w or h <= 0: the whole screen), orthographic projection
// with y down, texturing on, depth test off, alpha test > 0.05, smoothing back on.
void resetState2D(int x, int y, int width, int height);

// True when the named renderer is the known software one.
bool isSoftwareRendererName(const std::string& rendererName);
// Tests stand a renderer name in for the driver's; "" uses the driver's again.
void overrideRendererName(const std::string& rendererName);

} // namespace tarvoke
