// Writing whole files, and files in place (for the tools), on POSIX.
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <random>
#include "platform/Files.h"
#include "platform/posix/PosixDescriptors.h"

namespace tarvoke::platform {
namespace {

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// A new file beside `path`, created exclusively under a random name, readable as the user's
// umask allows (mkstemp's files are private, which an archive should not be).
int createBeside(const std::string& path, std::string& created) {
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device entropy;
    std::uniform_int_distribution<int> pick(0, int(sizeof letters) - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        // Short, because the final name may already be as long as a name can be.
        created = folderOf(path) + ".tarvoke-";
        for (int i = 0; i < 8; ++i) created += letters[pick(entropy)];
        created += ".partial";
        const int fd = open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

} // namespace

bool replaceFile(const std::string& path, const std::uint8_t* bytes, std::size_t count) {
    std::string temporary;
    const int fd = createBeside(path, temporary);
    if (fd < 0) return false;
    bool done = writeAll(fd, bytes, count) && fsync(fd) == 0;
    done = close(fd) == 0 && done;
    done = done && rename(temporary.c_str(), path.c_str()) == 0;
    if (!done) {
        const int reason = errno;
        unlink(temporary.c_str());  // ours: it was created above
        errno = reason;
    }
    return done;
}

FileWriter::~FileWriter() {
    if (descriptor_ >= 0) ::close(descriptor_);
}

bool FileWriter::open(const std::string& path) {
    close();
    struct stat info{};
    notRegular_ = stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode);
    if (notRegular_) return false;
    descriptor_ = openRegular(path, O_WRONLY, 0);
    notRegular_ = descriptor_ < 0 && errno == EINVAL;
    return descriptor_ >= 0;
}

std::uint64_t FileWriter::size() const {
    struct stat info{};
    return fstat(descriptor_, &info) == 0 ? std::uint64_t(info.st_size) : 0;
}

bool FileWriter::writeAt(std::uint64_t offset, const std::uint8_t* bytes, std::size_t count) {
    for (std::size_t done = 0; done < count;) {
        const ssize_t written = pwrite(descriptor_, bytes + done, count - done, off_t(offset + done));
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += std::size_t(written);
    }
    return true;
}

bool FileWriter::cutTo(std::uint64_t size) { return ftruncate(descriptor_, off_t(size)) == 0; }

bool FileWriter::close() {
    if (descriptor_ < 0) return true;
    const int result = ::close(descriptor_);
    descriptor_ = -1;
    return result == 0;
}

void failWritesPastFileSizeLimit() { std::signal(SIGXFSZ, SIG_IGN); }

} // namespace tarvoke::platform
