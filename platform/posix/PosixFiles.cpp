// Files and directories on POSIX.
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

bool canOpenForReading(const std::string& path) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info{};
    const bool regular = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    close(fd);
    return regular;
}

namespace {

bool writeAll(int fd, const std::uint8_t* bytes, std::size_t count) {
    while (count > 0) {
        ssize_t done = write(fd, bytes, count);
        if (done < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes += done;
        count -= std::size_t(done);
    }
    return true;
}

} // namespace

std::string writeNewTemporaryFile(const std::string& prefix, const std::string& suffix,
                                  const std::uint8_t* bytes, std::size_t count) {
    std::string path = temporaryDirectory() + prefix + "XXXXXX" + suffix;
    int fd = mkostemps(path.data(), int(suffix.size()), O_CLOEXEC);
    if (fd < 0) return std::string();
    const bool written = writeAll(fd, bytes, count);
    if (close(fd) != 0 || !written) {
        unlink(path.c_str());
        return std::string();
    }
    return path;
}

bool replaceFile(const std::string& path, const std::uint8_t* bytes, std::size_t count) {
    const std::size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    std::string partial = folder + ".tarvoke-XXXXXX";
    int fd = mkostemp(partial.data(), O_CLOEXEC);
    if (fd < 0) return false;
    // mkostemp makes the file private; a saved file gets the usual permissions. (Reading the
    // mask means setting it: no other thread of the engine creates files.)
    const mode_t mask = umask(0);
    umask(mask);
    bool written = fchmod(fd, 0666 & ~mask) == 0 && writeAll(fd, bytes, count) && fsync(fd) == 0;
    written = close(fd) == 0 && written;
    if (!written || rename(partial.c_str(), path.c_str()) != 0) {
        unlink(partial.c_str());
        return false;
    }
    return true;
}

bool appendExclusive(const std::string& path, const char* bytes, std::size_t count) {
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    // Advisory, but every engine writer takes it: two writers never interleave a line.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return false;
    }
    bool written = true;
    while (count > 0) {
        ssize_t done = write(fd, bytes, count);
        if (done < 0) {
            written = false;
            break;
        }
        bytes += done;
        count -= std::size_t(done);
    }
    close(fd);  // also releases the lock
    return written;
}

} // namespace tarvoke::platform
