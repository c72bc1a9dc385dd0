// Conversions between the engine's Windows-1252 bytes and SDL's UTF-8.
#pragma once
#include <string>

namespace tarvoke::platform {
std::string utf8FromWindows1252(const std::string& bytes);
// What Windows-1252 cannot hold becomes '?', or is dropped when `dropMissing` is set.
std::string windows1252FromUtf8(const std::string& utf8, bool dropMissing = false);
} // namespace tarvoke::platform
