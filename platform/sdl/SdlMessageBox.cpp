// Modal message boxes on SDL2.
#include <SDL.h>
#include "platform/Dialogs.h"
#include "platform/sdl/SdlText.h"

namespace tarvoke::platform {
namespace {
MessageBoxHook messageBoxHook = nullptr;
}

void setMessageBoxHook(MessageBoxHook hook) { messageBoxHook = hook; }

void showMessageBox(const std::string& caption, const std::string& text, MessageIcon icon) {
    if (messageBoxHook) {
        messageBoxHook(caption, text, icon);
        return;
    }
    Uint32 flags = icon == MessageIcon::Error     ? SDL_MESSAGEBOX_ERROR
                   : icon == MessageIcon::Warning ? SDL_MESSAGEBOX_WARNING
                                                  : SDL_MESSAGEBOX_INFORMATION;
    SDL_ShowSimpleMessageBox(flags, utf8FromWindows1252(caption).c_str(),
                             utf8FromWindows1252(text).c_str(), nullptr);
}

} // namespace tarvoke::platform
