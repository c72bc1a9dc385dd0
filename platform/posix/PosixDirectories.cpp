// Folder listings on POSIX.
#include <dirent.h>
#include <sys/stat.h>
#include <algorithm>
#include <cstdint>
#include <memory>
#include "platform/Directories.h"

namespace tarvoke::platform {
namespace {

struct DirCloser {
    void operator()(DIR* directory) const { closedir(directory); }
};

bool isDirectoryEntry(const std::string& folder, const dirent& entry) {
    if (entry.d_type == DT_DIR) return true;
    if (entry.d_type != DT_UNKNOWN && entry.d_type != DT_LNK) return false;
    struct stat info{};
    return stat((folder + "/" + entry.d_name).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

int upper(char c) { return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : std::uint8_t(c); }

int compareIgnoringCase(const std::string& a, const std::string& b) {
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (upper(a[i]) != upper(b[i])) return upper(a[i]) < upper(b[i]) ? -1 : 1;
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// "." and ".." first, then the names as upper case; names equal that way keep a fixed order too.
bool listedBefore(const DirectoryEntry& a, const DirectoryEntry& b) {
    auto rank = [](const std::string& name) { return name == "." ? 0 : name == ".." ? 1 : 2; };
    if (rank(a.name) != rank(b.name)) return rank(a.name) < rank(b.name);
    const int order = compareIgnoringCase(a.name, b.name);
    return order != 0 ? order < 0 : a.name < b.name;
}

} // namespace

// readdir's own order follows the file system's hash buckets and differs between file systems
// and runs, so the listing is sorted.
std::vector<DirectoryEntry> listDirectory(const std::string& path) {
    std::vector<DirectoryEntry> entries;
    std::unique_ptr<DIR, DirCloser> directory(opendir(path.c_str()));
    if (!directory) return entries;
    while (const dirent* entry = readdir(directory.get()))
        entries.push_back({entry->d_name, isDirectoryEntry(path, *entry)});
    std::sort(entries.begin(), entries.end(), listedBefore);
    return entries;
}

// Folders are already separated by "/" here.
std::string gamePath(std::string nativePath) { return nativePath; }

} // namespace tarvoke::platform
