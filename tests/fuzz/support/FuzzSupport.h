// What the fuzz targets share: a scratch folder of the run's own (the engine's readers open files
// by name, so each input is written to a file first), and a check that fails the run loudly.
#pragma once
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace tarvoke::fuzz {

// A fresh folder under the system's temporary folder, removed when the run ends. It is also
// TMPDIR, so whatever the engine unpacks or logs stays inside it.
inline const std::filesystem::path& scratchFolder() {
    static const struct Folder {
        std::filesystem::path path;
        Folder() {
            std::random_device entropy;
            path = std::filesystem::temp_directory_path() / ("tarvoke-fuzz-" + std::to_string(entropy()));
            std::filesystem::create_directories(path);
            setenv("TMPDIR", path.c_str(), 1);
        }
        ~Folder() {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    } folder;
    return folder.path;
}

// Writes the input to the scratch file `name` and returns its path.
inline std::string writeInput(const std::uint8_t* data, std::size_t size, const std::string& name = "input") {
    const std::string path = (scratchFolder() / name).string();
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data), std::streamsize(size));
    return path;
}

// A wrong result ends the run as a crash does, with the input saved as the reproducer.
inline void check(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

} // namespace tarvoke::fuzz
