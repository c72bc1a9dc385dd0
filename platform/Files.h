// Platform contract, files: paths, the temporary folder, and the few file operations the engine
// needs beyond the C library.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace tarvoke::platform {

// A game's file name in this system's form: games may separate folders with "/" or "\", and
// each system takes only its own separator.
std::string nativePath(std::string gamePath);

std::string executablePath();              // full path of the running executable
std::string temporaryDirectory();          // TMPDIR, else /tmp; always ends with '/'
std::string currentDirectory();
bool setCurrentDirectory(const std::string& path);
bool deleteFile(const std::string& path);
bool fileExists(const std::string& path);  // a regular file
bool canOpenForReading(const std::string& path);  // a regular file this process may read
// Creates a new file with an unpredictable name "<temporary directory><prefix>XXXXXX<suffix>"
// exclusively (never an existing file or link), writes the bytes and closes it. Returns its
// path, or "" when it could not be created or written (nothing is left behind then).
std::string writeNewTemporaryFile(const std::string& prefix, const std::string& suffix,
                                  const std::uint8_t* bytes, std::size_t count);
// Writes the bytes as the whole new content of `path`: into a new file beside it, which is then
// renamed over it, so an older file is replaced whole or not at all and a link at `path` is
// replaced rather than followed. False when it could not be done; nothing is left behind then.
bool replaceFile(const std::string& path, const std::uint8_t* bytes, std::size_t count);
// Opens the file for exclusive writing (created when absent), appends the bytes, closes it.
// Fails without waiting when another writer holds it.
bool appendExclusive(const std::string& path, const char* bytes, std::size_t count);

} // namespace tarvoke::platform
