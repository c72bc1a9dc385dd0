// The open and save dialogs. The main window leaves full screen and hides while the dialog is
// up, and comes back in the program's screen mode afterwards.
#include <string>
#include <vector>
#include "graphics2d/Graphics2D.h"
#include "platform/Directories.h"
#include "platform/FileDialogs.h"
#include "platform/Files.h"
#include "tarvoke/system.h"

namespace tarvoke {
namespace {

std::vector<std::string> partsOf(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

std::string withoutBlanks(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// "description|patterns|description|patterns...", the patterns of one entry separated by ";".
// An empty part ends the list, as a double NUL ends the system's own filter lists; a description
// without patterns is dropped.
std::vector<platform::FileTypeFilter> filtersOf(const std::string& text) {
    std::vector<platform::FileTypeFilter> filters;
    const std::vector<std::string> parts = partsOf(text, '|');
    for (std::size_t i = 0; i + 1 < parts.size() && !parts[i].empty() && !parts[i + 1].empty(); i += 2) {
        platform::FileTypeFilter filter{parts[i], {}};
        for (const std::string& pattern : partsOf(parts[i + 1], ';'))
            if (!withoutBlanks(pattern).empty()) filter.patterns.push_back(withoutBlanks(pattern));
        if (!filter.patterns.empty()) filters.push_back(filter);
    }
    return filters;
}

} // namespace

StrValue fileRequest(NumValue mode, const StrValue& filter) {
    const std::vector<platform::FileTypeFilter> filters = filtersOf(filter.cStr());
    const std::string directory = platform::currentDirectory();
    const bool hasWindow = hasMainWindow();
    if (hasWindow) hideMainWindow();
    const std::string chosen = platform::chooseFile(
        toInt(mode) != 0 ? platform::FileDialogMode::Open : platform::FileDialogMode::Save, directory, filters);
    platform::setCurrentDirectory(directory);  // the dialog may have moved it
    if (hasWindow) applyScreenModeSetting();
    if (chosen.empty()) return StrValue("NO_FILE");
    return StrValue(platform::gamePath(chosen).c_str());
}

} // namespace tarvoke
