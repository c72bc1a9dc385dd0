// Conversions between the engine's Windows-1252 bytes and SDL's UTF-8.
#pragma once
#include <string>

namespace tarvoke::platform {
std::string utf8FromWindows1252(const std::string& bytes);
std::string windows1252FromUtf8(const std::string& utf8);  // '?' for what it cannot hold
} // namespace tarvoke::platform
