#include "support/TestSupport.h"
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <filesystem>

namespace tarvoke::test {

ScopedTempDir::ScopedTempDir() {
    std::string base = std::filesystem::temp_directory_path().string() + "/tarvoke-test-XXXXXX";
    if (!mkdtemp(base.data())) std::abort();
    path_ = base;
    if (const char* old = std::getenv("TMPDIR")) {
        hadTmpdir_ = true;
        previousTmpdir_ = old;
    }
    setenv("TMPDIR", path_.c_str(), 1);
}

ScopedTempDir::~ScopedTempDir() {
    if (hadTmpdir_)
        setenv("TMPDIR", previousTmpdir_.c_str(), 1);
    else
        unsetenv("TMPDIR");
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

bool fileExists(const std::string& path) { return std::filesystem::exists(path); }

EngineRun::EngineRun(const ProjectSettings& settings, const char* title, int showCommand) {
    projectSettings = settings;
    initEngine(title, showCommand);
}

EngineRun::~EngineRun() { shutdownEngine(); }

std::string programPath(const std::string& name) { return std::string(TARVOKE_TEST_PROGRAMS) + "/" + name; }

} // namespace tarvoke::test
