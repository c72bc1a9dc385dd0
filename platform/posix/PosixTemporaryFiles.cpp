// Held temporary files on POSIX. A holder keeps the file open with a shared flock(); a sweep
// deletes only files on which it gets an exclusive lock at once, so a file of a running process
// is never touched, while the lock of a killed process ends with it.
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstdlib>
#include <utility>
#include "platform/Files.h"
#include "platform/posix/PosixDescriptors.h"

namespace tarvoke::platform {

HeldTemporaryFile::HeldTemporaryFile(HeldTemporaryFile&& other) noexcept
    : path_(std::exchange(other.path_, std::string())), descriptor_(std::exchange(other.descriptor_, -1)) {}

HeldTemporaryFile& HeldTemporaryFile::operator=(HeldTemporaryFile&& other) noexcept {
    if (this != &other) {
        reset();
        path_ = std::exchange(other.path_, std::string());
        descriptor_ = std::exchange(other.descriptor_, -1);
    }
    return *this;
}

// Deleted while still held, so no sweep can come between.
void HeldTemporaryFile::reset() {
    if (!path_.empty()) unlink(path_.c_str());
    if (descriptor_ >= 0) close(descriptor_);
    path_.clear();
    descriptor_ = -1;
}

namespace {

bool isStillLinked(int fd) {
    struct stat info{};
    return fstat(fd, &info) == 0 && info.st_nlink > 0;
}

} // namespace

HeldTemporaryFile writeHeldTemporaryFile(const std::string& prefix, const std::string& suffix,
                                         const std::uint8_t* bytes, std::size_t count) {
    // Another process's sweep may delete the new file before it is held; then it is made anew.
    for (int attempt = 0; attempt < 8; ++attempt) {
        std::string path = temporaryDirectory() + prefix + "XXXXXX" + suffix;
        const int fd = mkostemps(path.data(), int(suffix.size()), O_CLOEXEC);
        if (fd < 0) return {};
        if (flock(fd, LOCK_SH) != 0) {
            unlink(path.c_str());
            close(fd);
            return {};
        }
        if (!isStillLinked(fd)) {
            close(fd);
            continue;
        }
        HeldTemporaryFile held(std::move(path), fd);
        if (!writeAll(fd, bytes, count)) return {};  // `held` deletes it
        return held;
    }
    return {};
}

std::vector<std::string> temporaryFileNames() {
    std::vector<std::string> names;
    DIR* directory = opendir(temporaryDirectory().c_str());
    if (!directory) return names;
    while (const dirent* entry = readdir(directory)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    closedir(directory);
    return names;
}

bool deleteUnheldTemporaryFile(const std::string& name) {
    if (name.empty() || name.find('/') != std::string::npos) return false;
    const std::string path = temporaryDirectory() + name;
    const int fd = openRegular(path, O_RDONLY | O_NOFOLLOW, 0);
    if (fd < 0) return false;
    struct stat opened{}, named{};
    bool deleted = false;
    // The name must still be the file that was locked when it is deleted.
    if (fstat(fd, &opened) == 0 && opened.st_uid == geteuid() && flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        lstat(path.c_str(), &named) == 0 && named.st_dev == opened.st_dev && named.st_ino == opened.st_ino)
        deleted = unlink(path.c_str()) == 0;
    close(fd);
    return deleted;
}

} // namespace tarvoke::platform
