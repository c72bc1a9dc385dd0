// OpenGLKestrel: the engine's graphics singleton. Owns the main window and its OpenGL context,
// the clock of the frame limiter, and the fixed 2D drawing state. Created first by start-up and
// destroyed by shutdown; reached through `openGLKestrel`. Also owns the sprite store.
#pragma once
#include <string>
#include "graphics2d/SpriteStore.h"
#include "platform/MainWindow.h"

namespace tarvoke {

struct Viewport {
    int x = 0, y = 0;           // top-left corner in window pixels, y from the top
    int width = 0, height = 0;
};

class OpenGLKestrel {
public:
    OpenGLKestrel();
    virtual ~OpenGLKestrel();
    OpenGLKestrel(const OpenGLKestrel&) = delete;
    OpenGLKestrel& operator=(const OpenGLKestrel&) = delete;

    // ---- window and context
    MainWindow main;            // the window, its size, mode and context

    // ---- clock and frame limiter
    bool useCounter = false;        // the high-resolution counter is usable
    double counterFrequency = 0.0;  // its counts per second
    double framePeriod = 0.0;       // milliseconds between frame slots
    double nextFrameTime = 0.0;     // absolute milliseconds of the next slot

    // ---- pictures
    SpriteStore sprites;        // sprite slots, tiled images, colour keys
    int currentSprite = -1;     // the sprite bound last for drawing

    // ---- fixed 2D state
    Viewport viewport;          // the 2D drawing area last set
    float globalAlpha = 0.0f;   // opacity applied to sprites by the alpha modes
    bool smoothing = true;      // sprites drawn with linear filtering

    // Opens the window with its context, shows it and readies the 2D state. 1 on success.
    int createWindow(int width, int height, int colourDepth, int frameRate, int multisampleCount);
    int setWindowedMode();      // always 1
    int setFullScreenMode();    // 0 when no display mode fits; the window is then windowed
    void hideWindow();
    void setScreenMode(int width, int height, int colourDepth, bool fullScreen);
    void closeWindow();

    double now() const;         // absolute milliseconds of the clock

private:
    void warnIfSoftwareRenderer();
};

extern OpenGLKestrel* openGLKestrel;  // null before start-up and after shutdown

// The 2D state: viewport x, y, w, h (w or h <= 0: the whole screen), orthographic projection
// with y down, texturing on, depth test off, alpha test > 0.05, smoothing back on.
void resetState2D(int x, int y, int width, int height);

// True when the named renderer is the known software one.
bool isSoftwareRendererName(const std::string& rendererName);
// Tests stand a renderer name in for the driver's; "" uses the driver's again.
void overrideRendererName(const std::string& rendererName);

} // namespace tarvoke
