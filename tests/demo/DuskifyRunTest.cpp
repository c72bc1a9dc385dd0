// The built Duskify run as a child process with its media beside it, its frames captured.
#include <gtest/gtest.h>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include "graphics2d/ImageFiles.h"
#include "support/TestSupport.h"
#include "support/XSession.h"

namespace tarvoke {
namespace {

class DuskifyRun : public testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"Duskify", "test.png", "Duskify.frag", "smalfont.bmp"})
            std::filesystem::copy(std::string(TARVOKE_DEMO_DIR) + "/" + name, temp.file(name));
    }
    // Runs the demo for the frames and returns the last one.
    Image run(int frames) {
        const std::string shot = temp.file("frame.png");
        std::filesystem::remove(shot);
        test::ChildProgram demo(temp.file("Duskify"), {"--tarvoke-frames", std::to_string(frames), "--tarvoke-screenshot", shot});
        int code = -1;
        EXPECT_TRUE(demo.waitForExit(60000, code));
        EXPECT_EQ(code, 0);
        Image frame;
        EXPECT_TRUE(readImageFile(frame, shot, noColourKey));
        return frame;
    }
    test::ScopedTempDir temp;
};

// What the background shows at (x, y) after the two stretches: the half-width squeeze averages
// two neighbouring pixels of the top-left quarter, the blow-up repeats each in a 4 x 2 block.
int expectedChannel(const Image& background, int x, int y, int channel) {
    const int sourceX = 2 * (x / 4), sourceY = y / 2;
    return (background.pixel(sourceX, sourceY)[channel] + background.pixel(sourceX + 1, sourceY)[channel] + 1) / 2;
}

// Pixels far from the tile (centred at (344, 264) in the frame) whose colour is off by more
// than `tolerance` from the unfiltered background.
int pixelsUnlikeTheBackground(const Image& frame, const Image& background, int tolerance) {
    int unlike = 0;
    for (int y = 0; y < 480; y += 3)
        for (int x = 0; x < 640; x += 3) {
            if (std::hypot(x - 344.0, y - 264.0) < 200) continue;
            for (int channel = 0; channel < 3; ++channel)
                if (std::abs(frame.pixel(x, y)[channel] - expectedChannel(background, x, y, channel)) > tolerance) {
                    ++unlike;
                    break;
                }
        }
    return unlike;
}

TEST_F(DuskifyRun, WithoutItsShaderFileTheDemoShowsTheBackgroundUnfiltered) {
    std::filesystem::remove(temp.file("Duskify.frag"));
    const Image frame = run(20);
    ASSERT_EQ(frame.width, 640);
    Image background;
    ASSERT_TRUE(readImageFile(background, temp.file("test.png"), noColourKey));
    EXPECT_EQ(pixelsUnlikeTheBackground(frame, background, 2), 0);
}

TEST_F(DuskifyRun, TheShaderGivesTheBackgroundADuskLook) {
    const Image frame = run(20);
    Image background;
    ASSERT_TRUE(readImageFile(background, temp.file("test.png"), noColourKey));
    const int sampled = (640 / 3 + 1) * (480 / 3 + 1);
    EXPECT_GT(pixelsUnlikeTheBackground(frame, background, 12), sampled / 2);
}

TEST_F(DuskifyRun, ABrokenShaderIsLoggedAndTheDemoStillRuns) {
    test::writeFile(temp.file("Duskify.frag"), "void main() { gl_FragColor = vec4(1.0 }\n");
    const Image frame = run(5);
    EXPECT_EQ(frame.width, 640);
    const std::string log = test::readFile(temp.file("ErrorLog.txt"));
    EXPECT_NE(log.find("error"), std::string::npos) << log;
}

} // namespace
} // namespace tarvoke
