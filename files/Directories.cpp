// The current directory and its listing.
#include "files/Directories.h"
#include <string>
#include <vector>
#include "platform/Directories.h"
#include "platform/Files.h"
#include "tarvoke/system.h"

namespace tarvoke {
namespace {

char lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool sameCharacter(char patternChar, char nameChar) {
    if (patternChar == '?') return nameChar != '.';
    return lower(patternChar) == lower(nameChar);
}

} // namespace

// On a mismatch the last "*" takes one more character and the rest is tried again; nothing
// before that "*" is revisited, so the match runs in at most pattern x name steps.
bool matchWildcard(std::string_view pattern, std::string_view name) {
    std::size_t p = 0, n = 0;
    std::size_t afterStar = std::string_view::npos, starTook = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            while (p < pattern.size() && pattern[p] == '*') ++p;
            afterStar = p;
            starTook = n;
        } else if (p < pattern.size() && sameCharacter(pattern[p], name[n])) {
            ++p;
            ++n;
        } else if (afterStar != std::string_view::npos) {
            p = afterStar;
            n = ++starTook;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

StrValue getCurrentDir() {
    std::string path = platform::gamePath(platform::currentDirectory());
    if (path.empty()) return StrValue();  // the folder is gone: no path to give
    if (path.back() != '/') path += '/';
    return StrValue(path.c_str());
}

NumValue setCurrentDir(const StrValue& path) {
    return platform::setCurrentDirectory(platform::nativePath(path.cStr())) ? 1 : 0;
}

NumValue getFileList(const StrValue& pattern, TextArray& names) {
    const std::vector<platform::DirectoryEntry> entries = platform::listDirectory(".");
    std::vector<const std::string*> folders, files;
    for (const platform::DirectoryEntry& entry : entries) {
        if (entry.isDirectory)
            folders.push_back(&entry.name);
        else if (matchWildcard(pattern.cStr(), entry.name))
            files.push_back(&entry.name);
    }
    dimArray(names, NumValue(folders.size() + files.size()));
    IntValue next = 0;
    for (const std::string* name : folders) names(next++) = name->c_str();
    for (const std::string* name : files) names(next++) = name->c_str();
    return NumValue(files.size()) + 65536.0 * NumValue(folders.size());
}

} // namespace tarvoke
