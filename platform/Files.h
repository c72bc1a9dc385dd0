// Platform contract, files: paths, the temporary folder, the games' own files (File), and the
// safe replacement of a whole file (FileReplacement).
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

// The path as seen from the current directory now: a later change of directory does not move it.
std::string absolutePath(const std::string& path);
// True with the size when the path names a regular file this process may open for reading.
// Never blocks (a FIFO is not a file) and takes no hold on the file.
bool readableFileSize(const std::string& path, std::uint64_t& size);

// A file a game opens: only a regular file (a FIFO or a device would block or never end), held
// alone while open: a second open of the same file through File fails until this one closes.
// Closed when it goes.
class File {
public:
    File() = default;
    ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    bool openForReading(const std::string& path);   // an existing regular file
    bool createForWriting(const std::string& path); // created, or emptied when it exists
    bool isOpen() const { return fd_ >= 0; }
    void close();

    std::uint64_t size() const;                       // its size now; 0 when closed
    // Bytes read: fewer than asked only at the end of the file or on a read failure.
    std::size_t read(void* into, std::size_t count);
    bool write(const void* bytes, std::size_t count); // every byte, or false
    bool moveBy(std::int64_t offset);                 // from the current position; may be negative

private:
    int fd_ = -1;
};

// The new contents of a file, written to a temporary file beside it and renamed over it only
// once every byte is on disk: a crash or a full disk midway leaves the old file whole. The new
// file keeps the old one's permissions; a symbolic link is followed, not replaced.
class FileReplacement {
public:
    explicit FileReplacement(const std::string& target);
    ~FileReplacement();  // throws the temporary file away unless committed
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    bool write(const void* bytes, std::size_t count);
    // Puts the new file in place. False: nothing of it reached the target, the old file stays.
    bool commit();

private:
    void discard();
    std::string target_;
    std::string temporary_;
    int fd_ = -1;
    bool failed_ = false;
};

} // namespace tarvoke::platform
