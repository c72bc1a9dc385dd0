// Platform contract, files: paths, the temporary folder, the games' own files (File), the safe
// replacement of a whole file (FileReplacement, replaceFile), and the held temporary files of the
// archive lookup. Only regular files are ever opened: a named pipe or a device given as a file
// name fails at once instead of blocking the game inside the system.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

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

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// A regular file opened for binary reading; null for anything else, without waiting.
FileHandle openFileForReading(const std::string& path);
// A regular file created or emptied for binary writing; null when the name is taken by anything
// but a regular file (a folder, a pipe, a device), without waiting.
FileHandle createFileForWriting(const std::string& path);

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
    // The same, held only against writers and channels: other shared readers (the archive
    // lookup holding the member it unpacked) do not refuse it.
    bool openForSharedReading(const std::string& path);
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

// ---------------------------------------------------------------- held temporary files
// A temporary file this process made and holds: while any process holds a file, no
// deleteUnheldTemporaryFile removes it; the hold ends with the process, however it ends.
// Destroying (or reset) deletes the file and lets go of it.
class HeldTemporaryFile {
public:
    HeldTemporaryFile() = default;
    HeldTemporaryFile(std::string path, int descriptor) : path_(std::move(path)), descriptor_(descriptor) {}
    ~HeldTemporaryFile() { reset(); }
    HeldTemporaryFile(HeldTemporaryFile&& other) noexcept;
    HeldTemporaryFile& operator=(HeldTemporaryFile&& other) noexcept;
    HeldTemporaryFile(const HeldTemporaryFile&) = delete;
    HeldTemporaryFile& operator=(const HeldTemporaryFile&) = delete;

    const std::string& path() const { return path_; }  // "" when none
    bool isEmpty() const { return path_.empty(); }
    void reset();

private:
    std::string path_;
    int descriptor_ = -1;
};

// Creates a new file with an unpredictable name "<temporary directory><prefix>XXXXXX<suffix>"
// exclusively (never an existing file or link), holds it and writes the bytes. Empty when it
// could not be created or written (nothing is left behind then).
HeldTemporaryFile writeHeldTemporaryFile(const std::string& prefix, const std::string& suffix,
                                         const std::uint8_t* bytes, std::size_t count);
// The names of the entries in the temporary directory (no "." or "..").
std::vector<std::string> temporaryFileNames();
// Deletes the named regular file of the temporary directory when it belongs to this user and
// no process holds it. True when it was deleted.
bool deleteUnheldTemporaryFile(const std::string& name);

// ---------------------------------------------------------------- writing whole files
// Writes the bytes to a new file beside `path` (created exclusively under an unpredictable name),
// puts them on disk and renames it over `path`: a failure or a crash never leaves a half-written
// file there, a link already at `path` is replaced rather than followed, and only the file this
// call created is ever removed. False with errno telling why.
bool replaceFile(const std::string& path, const std::uint8_t* bytes, std::size_t count);

// An existing regular file opened for writing in place; closed when it goes. Failures leave
// errno telling why.
class FileWriter {
public:
    FileWriter() = default;
    ~FileWriter();
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    bool open(const std::string& path);  // false when missing, unwritable or not a regular file
    bool notRegularFile() const { return notRegular_; }  // why the last open failed
    std::uint64_t size() const;
    bool writeAt(std::uint64_t offset, const std::uint8_t* bytes, std::size_t count);
    bool cutTo(std::uint64_t size);  // shortens the file to `size` bytes
    bool close();

private:
    int descriptor_ = -1;
    bool notRegular_ = false;
};

// A write past the process's file-size limit then fails with an error, instead of the system
// ending the process part-way.
void failWritesPastFileSizeLimit();

} // namespace tarvoke::platform
