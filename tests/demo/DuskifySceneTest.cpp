// The Duskify scene drawn in this process at chosen timer readings, frames read back.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <cmath>
#include <filesystem>
#include <vector>
#include "DuskifyScene.h"
#include "platform/Files.h"
#include "support/ScreenReadback.h"
#include "support/TestSupport.h"

namespace tarvoke {
namespace {

using Frame = std::vector<std::uint8_t>;  // 640 x 480 RGBA, top row first

Frame readFrame() { return test::readScreenRgba(0, 0, 640, 480); }

bool samePixel(const Frame& a, const Frame& b, int x, int y) {
    const std::size_t at = (std::size_t(y) * 640 + std::size_t(x)) * 4;
    return a[at] == b[at] && a[at + 1] == b[at + 1] && a[at + 2] == b[at + 2];
}

bool pixelsEqual(const Frame& frame, int x1, int y1, int x2, int y2) {
    const std::size_t a = (std::size_t(y1) * 640 + std::size_t(x1)) * 4, b = (std::size_t(y2) * 640 + std::size_t(x2)) * 4;
    return frame[a] == frame[b] && frame[a + 1] == frame[b + 1] && frame[a + 2] == frame[b + 2];
}

class DuskifyScene : public testing::Test {
protected:
    void SetUp() override {
        // The scene loads its media from the current folder, as the demo does beside its executable.
        for (const char* name : {"test.png", "Duskify.frag", "smalfont.bmp"})
            std::filesystem::copy_file(std::string(TARVOKE_DEMO_DIR) + "/" + name, temp.file(name));
        platform::setCurrentDirectory(temp.path());
        duskify::setUpScene();
    }
    Frame frameAt(double zoomTime, double angleTime, bool withShader = true) {
        showScreen();  // a fresh frame with the background painted
        duskify::drawFrame(zoomTime, angleTime, withShader);
        glFinish();
        return readFrame();
    }
    test::ScopedTempDir temp;
    test::EngineRun engine;
};

// Pixels that differ between two frames, and whether all of them lie within `radius` of the
// tile's centre, which the two stretches bring from (172, 132) to (344, 264).
struct Difference {
    int count = 0;
    bool allNearTheTile = true;
};

Difference differenceOf(const Frame& a, const Frame& b, double radius) {
    Difference d;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            if (!samePixel(a, b, x, y)) {
                ++d.count;
                d.allNearTheTile = d.allNearTheTile && std::hypot(x - 344.0, y - 264.0) <= radius;
            }
    return d;
}

TEST_F(DuskifyScene, TheTileTurnsAndTheRestStaysTheSame) {
    const Frame upright = frameAt(0, 0);      // zoom 1, angle 0
    const Frame turned = frameAt(0, 900);     // zoom 1, angle 45 degrees
    const Difference d = differenceOf(upright, turned, 2 * 32 * std::sqrt(2.0) + 8);
    EXPECT_GT(d.count, 2000);
    EXPECT_TRUE(d.allNearTheTile);
}

TEST_F(DuskifyScene, TheZoomFollowsTheSineOfTimeOver37Milliseconds) {
    const Frame hidden = frameAt(37 * 270, 0);  // sin 270 degrees + 1 = 0: no tile at all
    const Frame background = frameAt(37 * 270, 5000);
    EXPECT_EQ(differenceOf(hidden, background, 0).count, 0);
    // An upright tile of 64 x 64 x zoom source pixels covers (2 x 64 x zoom)^2 pixels after
    // the stretches.
    for (const double degrees : {0.0, 30.0, 90.0}) {
        const double zoom = std::sin(degrees * M_PI / 180) + 1;
        const int covered = differenceOf(frameAt(37 * degrees, 0), hidden, 1000).count;
        const double expected = std::pow(2 * 64 * zoom, 2);
        EXPECT_NEAR(covered, expected, expected * 0.08) << "zoom " << zoom;
    }
}

TEST_F(DuskifyScene, TheFrameIsBlownUpFromHalfResolutionInBlocksOfFourByTwo) {
    const Frame frame = frameAt(1234, 5678);
    int mismatches = 0;
    for (int y = 0; y < 480; y += 2)
        for (int x = 0; x < 640; x += 4)
            for (int dy = 0; dy < 2; ++dy)
                for (int dx = 0; dx < 4; ++dx) mismatches += !pixelsEqual(frame, x, y, x + dx, y + dy);
    EXPECT_EQ(mismatches, 0);
    // Neighbouring blocks do differ somewhere: the blocks are the resolution, not a flat frame.
    int blockEdges = 0;
    for (int y = 0; y < 480; y += 2)
        for (int x = 4; x < 640; x += 4) blockEdges += !pixelsEqual(frame, x - 1, y, x, y);
    EXPECT_GT(blockEdges, 1000);
}

TEST_F(DuskifyScene, TheShaderChangesThePicture) {
    const Frame shaded = frameAt(0, 0, true);
    const Frame plain = frameAt(0, 0, false);
    const Difference d = differenceOf(shaded, plain, 1000);
    EXPECT_GT(d.count, 640 * 480 * 9 / 10);
}

} // namespace
} // namespace tarvoke
