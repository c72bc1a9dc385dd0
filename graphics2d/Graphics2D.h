// 2D graphics as the engine's core drives it: start and stop, and the frame boundary. The
// subsystem owns OpenGLKestrel (the window, its context, the sprite store and the 2D state);
// everything outside graphics2d reaches it through these functions or the public commands.
#pragma once
#include <cstdint>
#include <string>

namespace tarvoke {

// ---- start-up and shutdown
bool startGraphics2D();               // creates OpenGLKestrel
bool isGraphics2DStarted();
// Opens the main window with its context as the project settings ask; false: no window.
bool openMainWindow();
bool hasMainWindow();
std::uint32_t mainWindowHandle();     // the window system's id of the main window; 0 if none
void setMainWindowCaption(const std::string& caption);  // Windows-1252 bytes
bool applyScreenModeSetting();        // windowed or full screen, as the project settings say
void hideMainWindow();
void showAndRaiseMainWindow();
void printLoadingText();              // "Loading..." centred in the current font
// True when the main window's context offers the OpenGL extension of that exact name (GL, or
// the window system's own list); false without a window.
bool hasGlExtension(const std::string& name);
// Closes the window and deletes OpenGLKestrel with every texture; runs after 3D graphics have
// let go of their GL objects.
void stopGraphics2D();

// ---- the frame boundary
void finishFrame2D();                 // drawing returns from an offscreen screen to the back buffer
void swapFrame();                     // shows the back buffer
void clearFrame();                    // clears colour and depth for the next frame
void resetFrame2D();                  // blending off, full opacity, background painted, 2D state
// Saves the back buffer, read before the swap, as an opaque PNG. False when it could not.
bool saveBackBufferAsPng(const std::string& path);

// ---- what the 3D scene draws within (graphics3d reads the 2D state through these)
struct DrawingArea {
    int x = 0, y = 0;           // top-left corner in window pixels, y from the top
    int width = 0, height = 0;
};
DrawingArea viewport2D();             // the 2D drawing area last set; zeros without graphics
float globalAlpha2D();                // the opacity of the alpha mode; 1 without graphics
struct SpriteGeometry {
    int width = 0, height = 0;                 // the picture
    int textureWidth = 0, textureHeight = 0;   // its texture, powers of two
};
SpriteGeometry spriteGeometry(int id);  // zeros for an empty slot or an id outside the table
// setViewport runs this first. 3D graphics registers it while it runs, to leave its shadow
// pass before the viewport changes, so that 2D never reaches into 3D. Null: nothing.
using ViewportChangeHook = void (*)();
void setViewportChangeHook(ViewportChangeHook hook);

// ---- the screen kept under a text entry (input's inputText), in tiled image 3
void keepScreenCopy();                // copies the whole screen
void drawScreenCopy();                // draws it back from the top-left corner
void dropScreenCopy();

// ---- a movie shown in the window (video's playMovie)
// Keeps the frame being drawn and all drawing state aside, turns drawing to the window, and makes
// a texture for pictures of width x height, first made smaller in the same shape when a texture
// could not hold them (the sizes say what it took). False without a window or a texture.
bool beginMovieScreen(int& pictureWidth, int& pictureHeight);
// Clears the window to black, uploads the picture (BGRA, top row first, rowBytes apart) and
// draws it stretched by GL over the rectangle (window pixels, y down), then shows the window.
void showMoviePicture(const std::uint8_t* bgra, int rowBytes, int x, int y, int width, int height);
// Puts the kept frame and drawing state back and frees the texture; nothing when none is kept.
void endMovieScreen();

} // namespace tarvoke
