// The games' own files on POSIX: File (plain descriptors, no buffering, so a write is in the
// system once the command returns) and FileReplacement (a temporary file renamed into place).
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include "platform/Files.h"

namespace tarvoke::platform {
namespace {

// A temporary name longer than this could pass the file system's limit for one name.
constexpr std::size_t longestBaseName = 200;

bool writeAll(int fd, const void* bytes, std::size_t count) {
    const char* next = static_cast<const char*>(bytes);
    while (count > 0) {
        const ssize_t done = ::write(fd, next, count);
        if (done < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        next += done;
        count -= std::size_t(done);
    }
    return true;
}

// O_NONBLOCK only so that opening a FIFO cannot hang; regular files ignore it afterwards.
int openRegular(const std::string& path, int flags) {
    const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) return -1;
    struct stat info{};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Every engine open takes this hold, so two channels never share a file. Only a hold someone
// else has refuses the file: a file system without locks still opens it.
int openHeld(const std::string& path, int flags, int lock = LOCK_EX) {
    const int fd = openRegular(path, flags);
    if (fd >= 0 && flock(fd, lock | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        ::close(fd);
        return -1;
    }
    return fd;
}

mode_t creationMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// The file a write should replace: the final target of a symbolic link, else the path itself.
std::string followLink(const std::string& path) {
    struct stat info{};
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

void syncDirectoryOf(const std::string& path) {
    const std::size_t cut = path.find_last_of('/');
    const std::string directory = cut == std::string::npos ? "." : cut == 0 ? "/" : path.substr(0, cut);
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);  // the rename is on disk too; a failure here loses nothing already written
    ::close(fd);
}

} // namespace

std::string absolutePath(const std::string& path) {
    if (path.empty() || path.front() == '/') return path;
    return currentDirectory() + "/" + path;
}

bool readableFileSize(const std::string& path, std::uint64_t& size) {
    const int fd = openRegular(path, O_RDONLY);
    if (fd < 0) return false;
    struct stat info{};
    const bool known = fstat(fd, &info) == 0;
    ::close(fd);
    size = known ? std::uint64_t(info.st_size) : 0;
    return known;
}

// ---------------------------------------------------------------- File

File::~File() { close(); }

bool File::openForReading(const std::string& path) {
    close();
    fd_ = openHeld(path, O_RDONLY);
    return fd_ >= 0;
}

bool File::openForSharedReading(const std::string& path) {
    close();
    fd_ = openHeld(path, O_RDONLY, LOCK_SH);
    return fd_ >= 0;
}

bool File::createForWriting(const std::string& path) {
    close();
    fd_ = openHeld(path, O_WRONLY | O_CREAT);
    // Emptied only once held: a file another channel holds is left as it is.
    if (fd_ >= 0 && ftruncate(fd_, 0) != 0) close();
    return fd_ >= 0;
}

void File::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

std::uint64_t File::size() const {
    struct stat info{};
    if (fd_ < 0 || fstat(fd_, &info) != 0) return 0;
    return std::uint64_t(info.st_size);
}

std::size_t File::read(void* into, std::size_t count) {
    if (fd_ < 0) return 0;
    char* next = static_cast<char*>(into);
    std::size_t got = 0;
    while (got < count) {
        const ssize_t done = ::read(fd_, next + got, count - got);
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) break;
        got += std::size_t(done);
    }
    return got;
}

bool File::write(const void* bytes, std::size_t count) { return fd_ >= 0 && writeAll(fd_, bytes, count); }

bool File::moveBy(std::int64_t offset) { return fd_ >= 0 && lseek(fd_, off_t(offset), SEEK_CUR) >= 0; }

// ---------------------------------------------------------------- FileReplacement

FileReplacement::FileReplacement(const std::string& target) : target_(followLink(target)) {
    const std::size_t cut = target_.find_last_of('/');
    const std::string directory = cut == std::string::npos ? "" : target_.substr(0, cut + 1);
    std::string base = cut == std::string::npos ? target_ : target_.substr(cut + 1);
    if (base.size() > longestBaseName) base.resize(longestBaseName);
    temporary_ = directory + "." + base + ".XXXXXX";
    fd_ = mkostemp(temporary_.data(), O_CLOEXEC);
    if (fd_ < 0) {
        temporary_.clear();
        return;
    }
    struct stat old{};
    const mode_t mode = stat(target_.c_str(), &old) == 0 ? (old.st_mode & 07777) : creationMode();
    fchmod(fd_, mode);
}

FileReplacement::~FileReplacement() { discard(); }

bool FileReplacement::write(const void* bytes, std::size_t count) {
    if (fd_ < 0 || failed_) return false;
    failed_ = !writeAll(fd_, bytes, count);
    return !failed_;
}

bool FileReplacement::commit() {
    if (fd_ < 0 || failed_ || fsync(fd_) != 0) {
        discard();
        return false;
    }
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    if (!closed || rename(temporary_.c_str(), target_.c_str()) != 0) {
        discard();
        return false;
    }
    temporary_.clear();
    syncDirectoryOf(target_);
    return true;
}

void FileReplacement::discard() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temporary_.empty()) unlink(temporary_.c_str());
    temporary_.clear();
}

} // namespace tarvoke::platform
