// Files and directories on POSIX. Every open is non-blocking and checked to be a regular file
// before it is used, so a named pipe or a device name never blocks the game.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <climits>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include "platform/Files.h"
#include "platform/posix/PosixDescriptors.h"

namespace tarvoke::platform {

// Linux separates folders with "/" only; a "\\" in a game's name means the same.
std::string nativePath(std::string gamePath) {
    std::replace(gamePath.begin(), gamePath.end(), '\\', '/');
    return gamePath;
}

std::string executablePath() {
    char path[PATH_MAX + 1];
    ssize_t size = readlink("/proc/self/exe", path, PATH_MAX);
    if (size <= 0) return std::string();
    return std::string(path, std::size_t(size));
}

std::string temporaryDirectory() {
    const char* fromEnvironment = std::getenv("TMPDIR");
    std::string directory = (fromEnvironment && *fromEnvironment) ? fromEnvironment : "/tmp";
    if (directory.back() != '/') directory += '/';
    return directory;
}

std::string currentDirectory() {
    char path[PATH_MAX + 1];
    if (!getcwd(path, sizeof path)) return std::string();
    return path;
}

bool setCurrentDirectory(const std::string& path) { return chdir(path.c_str()) == 0; }

bool deleteFile(const std::string& path) { return unlink(path.c_str()) == 0; }

bool fileExists(const std::string& path) {
    struct stat info{};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

int openRegular(const std::string& path, int flags, mode_t mode) {
    const int fd = open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, mode);
    if (fd < 0) return -1;
    struct stat info{};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        errno = EINVAL;
        return -1;
    }
    // Regular files never block; the flag is dropped so that it means nothing later either.
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

bool canOpenForReading(const std::string& path) {
    const int fd = openRegular(path, O_RDONLY, 0);
    if (fd < 0) return false;
    close(fd);
    return true;
}

namespace {

FileHandle adopt(int fd, const char* mode) {
    if (fd < 0) return nullptr;
    FileHandle file(fdopen(fd, mode));
    if (!file) close(fd);
    return file;
}

} // namespace

FileHandle openFileForReading(const std::string& path) { return adopt(openRegular(path, O_RDONLY, 0), "rb"); }

// O_TRUNC only after the check: a name that is not a regular file is left untouched.
FileHandle createFileForWriting(const std::string& path) {
    const int fd = openRegular(path, O_WRONLY | O_CREAT, 0666);
    if (fd >= 0 && ftruncate(fd, 0) != 0) {
        close(fd);
        return nullptr;
    }
    return adopt(fd, "wb");
}

bool writeAll(int fd, const std::uint8_t* bytes, std::size_t count) {
    while (count > 0) {
        const ssize_t done = write(fd, bytes, count);
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) return false;
        bytes += done;
        count -= std::size_t(done);
    }
    return true;
}

bool appendExclusive(const std::string& path, const char* bytes, std::size_t count) {
    const int fd = openRegular(path, O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (fd < 0) return false;
    // Advisory, but every engine writer takes it: two writers never interleave a line.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return false;
    }
    const bool written = writeAll(fd, reinterpret_cast<const std::uint8_t*>(bytes), count);
    close(fd);  // also releases the lock
    return written;
}

} // namespace tarvoke::platform
