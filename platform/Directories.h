// Platform contract, directories: the entries of a folder, and paths in the form games are given.
#pragma once
#include <string>
#include <vector>

namespace tarvoke::platform {

struct DirectoryEntry {
    std::string name;          // the entry's own name, no folder part
    bool isDirectory = false;  // a folder, or a link to one
};

// Every entry of the folder, "." and ".." included. The order is stable from run to run: "." and
// "..", then the names compared as upper case (the order games saw on their first platform's
// file system). Empty when the folder cannot be read.
std::vector<DirectoryEntry> listDirectory(const std::string& path);

// A path of this system in the form handed back to games: folders separated by "/".
std::string gamePath(std::string nativePath);

} // namespace tarvoke::platform
