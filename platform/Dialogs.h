// Platform contract, dialogs: modal message boxes.
#pragma once
#include <string>

namespace tarvoke::platform {

enum class MessageIcon { Information, Warning, Error };
// Shows a modal box with an OK button. Texts are Windows-1252 bytes.
void showMessageBox(const std::string& caption, const std::string& text, MessageIcon icon);
// Tests replace the box with a recorder; null restores the real one.
using MessageBoxHook = void (*)(const std::string& caption, const std::string& text, MessageIcon icon);
void setMessageBoxHook(MessageBoxHook hook);

} // namespace tarvoke::platform
