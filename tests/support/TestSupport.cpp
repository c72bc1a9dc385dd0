#include "support/TestSupport.h"
#include <GL/gl.h>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <filesystem>
#include "graphics2d/OpenGLKestrel.h"

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

std::array<std::uint8_t, 4> readPixel(int x, int y) {
    std::array<std::uint8_t, 4> rgba{};
    const int height = openGLKestrel ? openGLKestrel->main.screenHeight : 0;
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, height - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}

void fillRect(int x, int y, int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE);
    glColor3ub(r, g, b);
    glBegin(GL_QUADS);
    glVertex2i(x, y);
    glVertex2i(x + width, y);
    glVertex2i(x + width, y + height);
    glVertex2i(x, y + height);
    glEnd();
}

std::string programPath(const std::string& name) { return std::string(TARVOKE_TEST_PROGRAMS) + "/" + name; }

} // namespace tarvoke::test
