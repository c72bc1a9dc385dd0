// Windows with OpenGL contexts on SDL2.
#include <SDL.h>
#include <SDL_syswm.h>
#include <cstdio>
#include <unistd.h>
#include "platform/Video.h"
#include "platform/sdl/SdlText.h"

namespace tarvoke::platform {

struct NativeWindow {
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
};

namespace {

// SDL falls back to its offscreen or dummy driver when the window system cannot be reached;
// a game would then run on with no window anyone can see. Those drivers count only when asked
// for by name (SDL_VIDEODRIVER), as headless tests do.
bool isInvisibleDriver(const char* name) {
    return name && (SDL_strcmp(name, "offscreen") == 0 || SDL_strcmp(name, "dummy") == 0);
}

} // namespace

bool initVideo() {
    if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
    // A game keeps its window when it loses the focus; pausing is the engine's business.
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "no display: %s\n", SDL_GetError());
        return false;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    if (isInvisibleDriver(driver) && !SDL_GetHint(SDL_HINT_VIDEODRIVER)) {
        std::fprintf(stderr, "no display: the window system cannot be reached\n");
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
        return false;
    }
    return true;
}

void quitVideo() {
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
}

DisplayMode desktopMode() {
    SDL_DisplayMode mode{};
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return {};
    return {mode.w, mode.h, int(SDL_BITSPERPIXEL(mode.format))};
}

namespace {

void askPixelFormat(const GlWindowRequest& request) {
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, request.redBits);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, request.greenBits);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, request.blueBits);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, request.alphaBits);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, request.depthBits);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, request.stencilBits);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, request.multisampleCount > 0 ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, request.multisampleCount > 0 ? request.multisampleCount : 0);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
}

} // namespace

NativeWindow* createGlWindow(const GlWindowRequest& request) {
    if (!initVideo()) return nullptr;
    askPixelFormat(request);
    SDL_Window* window = SDL_CreateWindow("Tarvoke", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                          request.width, request.height,
                                          SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!window) return nullptr;
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (!context) {
        SDL_DestroyWindow(window);
        return nullptr;
    }
    SDL_GL_SetSwapInterval(0);  // the engine's own limiter paces frames
    return new NativeWindow{window, context};
}

void destroyWindow(NativeWindow* window) {
    if (!window) return;
    SDL_GL_MakeCurrent(window->window, nullptr);
    SDL_GL_DeleteContext(window->context);
    SDL_DestroyWindow(window->window);
    delete window;
}

void setWindowCaption(NativeWindow* window, const std::string& bytes) {
    if (window) SDL_SetWindowTitle(window->window, utf8FromWindows1252(bytes).c_str());
}

std::string windowCaption(NativeWindow* window) {
    return window ? windows1252FromUtf8(SDL_GetWindowTitle(window->window)) : std::string();
}

void showWindow(NativeWindow* window) {
    if (window) SDL_ShowWindow(window->window);
}

void hideWindow(NativeWindow* window) {
    if (window) SDL_HideWindow(window->window);
}

void raiseWindow(NativeWindow* window) {
    if (window) SDL_RaiseWindow(window->window);
}

bool isWindowShown(NativeWindow* window) {
    return window && (SDL_GetWindowFlags(window->window) & SDL_WINDOW_SHOWN) != 0;
}

void setWindowClientSize(NativeWindow* window, int width, int height) {
    if (window) SDL_SetWindowSize(window->window, width, height);
}

void clientSize(NativeWindow* window, int& width, int& height) {
    width = height = 0;
    if (window) SDL_GetWindowSize(window->window, &width, &height);
}

bool enterFullScreen(NativeWindow* window, int width, int height, int bitsPerPixel) {
    if (!window) return false;
    int display = SDL_GetWindowDisplayIndex(window->window);
    if (display < 0) display = 0;
    for (int i = 0, count = SDL_GetNumDisplayModes(display); i < count; ++i) {
        SDL_DisplayMode mode{};
        if (SDL_GetDisplayMode(display, i, &mode) != 0) continue;
        if (mode.w != width || mode.h != height) continue;
        if (bitsPerPixel != 0 && int(SDL_BITSPERPIXEL(mode.format)) != bitsPerPixel) continue;
        if (SDL_SetWindowDisplayMode(window->window, &mode) != 0) return false;
        return SDL_SetWindowFullscreen(window->window, SDL_WINDOW_FULLSCREEN) == 0;
    }
    return false;
}

void leaveFullScreen(NativeWindow* window) {
    if (window) SDL_SetWindowFullscreen(window->window, 0);
}

std::uint32_t nativeHandle(NativeWindow* window) {
    if (!window) return 0;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window->window, &info) && info.subsystem == SDL_SYSWM_X11)
        return std::uint32_t(info.info.x11.window);
    return SDL_GetWindowID(window->window);
}

bool makeContextCurrent(NativeWindow* window) {
    return window && SDL_GL_MakeCurrent(window->window, window->context) == 0;
}

void swapBuffers(NativeWindow* window) {
    if (window) SDL_GL_SwapWindow(window->window);
}

void* glProcAddress(const char* name) { return SDL_GL_GetProcAddress(name); }

void setArrowCursor() {
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_SetCursor(SDL_GetDefaultCursor());
}

void warningBeep() {
    if (isatty(STDERR_FILENO)) std::fputs("\a", stderr);
}

void suppressScreenSaver() { SDL_DisableScreenSaver(); }


std::string windowSystemExtensions() {
    // EGL hands out stubs for any name, so the window system decides which family is asked.
    using GetDisplay = void* (*)();
    using QueryExtensions = const char* (*)(void*, int);
    const char* driver = SDL_GetCurrentVideoDriver();
    const bool glx = driver && std::string(driver) == "x11" && !SDL_GetHintBoolean(SDL_HINT_VIDEO_X11_FORCE_EGL, SDL_FALSE);
    const char* getDisplayName = glx ? "glXGetCurrentDisplay" : "eglGetCurrentDisplay";
    const char* queryName = glx ? "glXQueryExtensionsString" : "eglQueryString";
    const int which = glx ? 0 : 0x3055;  // screen 0, or EGL_EXTENSIONS
    auto getDisplay = reinterpret_cast<GetDisplay>(glProcAddress(getDisplayName));
    auto query = reinterpret_cast<QueryExtensions>(glProcAddress(queryName));
    void* display = getDisplay ? getDisplay() : nullptr;
    const char* list = (display && query) ? query(display, which) : nullptr;
    return list ? list : "";
}

} // namespace tarvoke::platform
