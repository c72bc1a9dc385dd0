// Platform contract, file dialogs: the desktop's own open and save dialogs.
#pragma once
#include <string>
#include <vector>

namespace tarvoke::platform {

// One entry of a dialog's file-type list: "Pictures" with {"*.png", "*.bmp"}.
struct FileTypeFilter {
    std::string description;
    std::vector<std::string> patterns;
};

enum class FileDialogMode { Open, Save };

// Shows the desktop's file dialog, starting in `directory`, and waits for the user. Returns the
// chosen path, or "" when the user cancelled or no dialog can be shown here.
std::string chooseFile(FileDialogMode mode, const std::string& directory,
                       const std::vector<FileTypeFilter>& filters);

} // namespace tarvoke::platform
