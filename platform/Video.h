// Platform contract, video: the display, the one window with its OpenGL context, and the
// window's small services (caption, cursor, beep). Which pixel format to ask for is the
// graphics code's choice; this layer only asks the window system for it.
#pragma once
#include <cstdint>
#include <string>

namespace tarvoke::platform {

bool initVideo();                          // idempotent
void quitVideo();                          // closes every window; initVideo may run again

struct DisplayMode {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
};
DisplayMode desktopMode();

// The window and the frame buffer asked of the window system.
struct GlWindowRequest {
    int width = 640;
    int height = 480;
    int redBits = 8, greenBits = 8, blueBits = 8;
    int alphaBits = 0;                     // destination alpha
    int depthBits = 24;
    int stencilBits = 8;
    int multisampleCount = 0;              // 0: no multisample buffers
};
struct NativeWindow;                       // one OS window with its GL context; opaque

// Creates a hidden, centred window whose client area is width x height, with a double-buffered
// OpenGL compatibility context in the asked format made current. Null on failure.
NativeWindow* createGlWindow(const GlWindowRequest& request);
void destroyWindow(NativeWindow* window);
void setWindowCaption(NativeWindow* window, const std::string& bytes);  // Windows-1252 bytes
std::string windowCaption(NativeWindow* window);                        // Windows-1252 bytes
void showWindow(NativeWindow* window);
void hideWindow(NativeWindow* window);
void raiseWindow(NativeWindow* window);    // to the top, with the keyboard focus
bool isWindowShown(NativeWindow* window);
void setWindowClientSize(NativeWindow* window, int width, int height);
void clientSize(NativeWindow* window, int& width, int& height);
// Full screen in a display mode of exactly width x height (at bitsPerPixel when non-zero).
// False when the display offers no such mode; the window is then unchanged.
bool enterFullScreen(NativeWindow* window, int width, int height, int bitsPerPixel);
void leaveFullScreen(NativeWindow* window);
std::uint32_t nativeHandle(NativeWindow* window);  // the window system's id of the window
bool makeContextCurrent(NativeWindow* window);
void swapBuffers(NativeWindow* window);
void* glProcAddress(const char* name);     // null when the driver lacks it
// The window system's own OpenGL extension list (GLX or EGL) for the current context; "" if none.
std::string windowSystemExtensions();
void setArrowCursor();
void warningBeep();
void suppressScreenSaver();

} // namespace tarvoke::platform
