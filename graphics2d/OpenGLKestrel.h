// OpenGLKestrel: the engine's graphics singleton. Owns the main window and its OpenGL context,
// the clock of the frame limiter, and the fixed 2D drawing state. Created first by start-up and
// destroyed by shutdown; reached through `openGLKestrel`. Also owns the sprite store.
#pragma once
#include <array>
#include <string>
#include <vector>
#include "graphics2d/SpriteStore.h"
#include "platform/MainWindow.h"

namespace tarvoke {

// An offscreen screen: a sprite that drawing can be directed to, through a framebuffer object
// where the driver has them, else through the top-left corner of the back buffer.
struct ScreenRecord {
    GLuint framebuffer = 0;   // framebuffer-object name
    GLuint depthBuffer = 0;   // renderbuffer name of its depth attachment
    int targetWidth = 0;      // 0: no framebuffer object (fallback mode)
    int targetHeight = 0;
    int spriteId = 0;         // the sprite that receives the drawing
};

constexpr int screenCount = 32;

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
    bool secondUnitOff = false; // texture unit 1 is known to be switched off

    // ---- vertex buffers of polygons and text (memory kept between uses)
    std::vector<float> polygonVertices;  // 8 floats a vertex: x, y, s, t, r, g, b, a
    std::size_t polygonVertexCount = 0;
    int polygonSprite = -1;              // the sprite of the polygon being collected
    std::vector<float> textVertices;     // 5 floats a vertex: x, y, z, s, t

    // ---- grabs and offscreen screens
    std::array<ScreenRecord, screenCount> screens{};
    int currentScreen = -1;              // -1: drawing goes to the back buffer
    std::vector<std::uint8_t> grabBuffer;  // rows read back for grabs without destination alpha
    bool hasDestinationAlpha = false;      // the frame buffer has alpha bits (checked on first grab)
    bool forceScreenFallback = false;      // draw screens through the back buffer even with FBOs

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
