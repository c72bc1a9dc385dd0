// A test fixture with the engine started in this process, a temporary folder that is also
// TMPDIR, and BMP pictures written into that folder.
#pragma once
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "support/PictureFiles.h"
#include "support/TestSupport.h"

namespace tarvoke::test {

class EngineTest : public testing::Test {
protected:
    // Writes a 24-bit BMP into the temporary folder and returns its path.
    std::string bmp(const std::string& name, int width, int height, const std::vector<Rgb>& pixels) {
        const std::string path = temp.file(name);
        writeBmp24(path, width, height, pixels);
        return path;
    }

    ScopedTempDir temp;
    EngineRun engine;
};

} // namespace tarvoke::test
