// Shared helpers for the engine's tests: temporary folders, files, an engine started in this
// process (pixel read-back is in ScreenReadback.h).
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include "tarvoke.h"

namespace tarvoke::test {

// A fresh folder that is also the process's TMPDIR while it lives (the error log lands there).
class ScopedTempDir {
public:
    ScopedTempDir();
    ~ScopedTempDir();
    ScopedTempDir(const ScopedTempDir&) = delete;
    ScopedTempDir& operator=(const ScopedTempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
    std::string previousTmpdir_;
    bool hadTmpdir_ = false;
};

std::string readFile(const std::string& path);  // "" when missing
void writeFile(const std::string& path, const std::string& bytes);
bool fileExists(const std::string& path);

// Starts the engine in this process with the given settings; shuts it down at scope end.
class EngineRun {
public:
    explicit EngineRun(const ProjectSettings& settings = ProjectSettings{},
                       const char* title = "Tarvoke test", int showCommand = 1);
    ~EngineRun();
    EngineRun(const EngineRun&) = delete;
    EngineRun& operator=(const EngineRun&) = delete;
};

// Full path of a test program built beside the tests.
std::string programPath(const std::string& name);

} // namespace tarvoke::test
