// What the POSIX file back ends share: opening regular files only, and whole writes.
#pragma once
#include <sys/types.h>
#include <cstddef>
#include <cstdint>
#include <string>

namespace tarvoke::platform {

// open() with O_NONBLOCK and O_CLOEXEC, then a check that the descriptor is a regular file;
// -1 (errno EINVAL for other kinds of file) otherwise.
int openRegular(const std::string& path, int flags, mode_t mode);
// Writes every byte, retrying after interruptions; false with errno set.
bool writeAll(int fd, const std::uint8_t* bytes, std::size_t count);

} // namespace tarvoke::platform
