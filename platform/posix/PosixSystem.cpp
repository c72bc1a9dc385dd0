// System queries on POSIX: platform name, machine identifier and local time.
#include <sys/statvfs.h>
#include <ctime>
#include <fstream>
#include <string>
#include "platform/System.h"

namespace tarvoke::platform {
namespace {

// FNV-1a, seeded with the engine's name so the value differs from other programs' hashes of
// the same id.
std::uint32_t hashOf(const std::string& bytes) {
    std::uint32_t hash = 2166136261u;
    for (char c : std::string("tarvoke:") + bytes) {
        hash ^= std::uint8_t(c);
        hash *= 16777619u;
    }
    return hash;
}

std::string firstLineOf(const char* path) {
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    return line;
}

} // namespace

const char* platformName() { return "LINUX"; }

std::uint32_t machineIdentifier() {
    for (const char* path : {"/etc/machine-id", "/var/lib/dbus/machine-id"}) {
        const std::string id = firstLineOf(path);
        if (!id.empty()) return hashOf(id);
    }
    struct statvfs root{};
    if (statvfs("/", &root) == 0) return hashOf(std::to_string(root.f_fsid));
    return 0;
}

LocalTime localTime() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    LocalTime time;
    if (!localtime_r(&now, &parts)) return time;
    time.year = parts.tm_year + 1900;
    time.month = parts.tm_mon + 1;
    time.day = parts.tm_mday;
    time.hour = parts.tm_hour;
    time.minute = parts.tm_min;
    time.second = parts.tm_sec;
    return time;
}

} // namespace tarvoke::platform
