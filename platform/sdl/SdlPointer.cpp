// The mouse pointer on SDL2. SDL's relative mouse mode holds the pointer; the main window is the
// one whose OpenGL context is current, as the engine has only that window.
#include <SDL.h>
#include "platform/Pointer.h"

namespace tarvoke::platform {

void movePointer(int x, int y) {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
    if (SDL_Window* window = SDL_GL_GetCurrentWindow()) SDL_WarpMouseInWindow(window, x, y);
}

bool holdPointer(bool hold) {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return false;
    return SDL_SetRelativeMouseMode(hold ? SDL_TRUE : SDL_FALSE) == 0;
}

void hidePointer() {
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(SDL_DISABLE);
}

void showArrowPointer() {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
    SDL_SetCursor(SDL_GetDefaultCursor());
    SDL_ShowCursor(SDL_ENABLE);
}

} // namespace tarvoke::platform
