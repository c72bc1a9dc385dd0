// The demo ended as a player ends it: Escape, or the window's close button.
#include <gtest/gtest.h>
#include <filesystem>
#include "support/TestSupport.h"
#include "support/XSession.h"
#include "platform/Clock.h"

namespace tarvoke {
namespace {

class DuskifySession : public testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"Duskify", "test.png", "Duskify.frag", "smalfont.bmp"})
            std::filesystem::copy(std::string(TARVOKE_DEMO_DIR) + "/" + name, temp.file(name));
    }
    // Milliseconds from now until the demo ends, with its exit code; -1 when it does not.
    double millisecondsUntilExit(test::ChildProgram& demo, int& code) {
        const std::uint64_t start = platform::counterValue();
        if (!demo.waitForExit(5000, code)) return -1;
        return double(platform::counterValue() - start) * 1000.0 / double(platform::counterFrequency());
    }
    test::ScopedTempDir temp;
};

TEST_F(DuskifySession, EscapeEndsItWithCodeZeroWithinASecond) {
    test::ChildProgram demo(temp.file("Duskify"));
    const std::string window = test::waitForWindowAndFocus("^Duskify$", 20000);
    ASSERT_FALSE(window.empty());
    platform::sleepMilliseconds(500);  // well into its frames
    ASSERT_TRUE(demo.isRunning());
    test::xdotool("keydown Escape");
    int code = -1;
    const double took = millisecondsUntilExit(demo, code);
    test::xdotool("keyup Escape");
    ASSERT_GE(took, 0) << "Escape did not end the demo";
    EXPECT_LT(took, 1000);
    EXPECT_EQ(code, 0);
}

TEST_F(DuskifySession, ClosingTheWindowEndsItTheSameWay) {
    test::ChildProgram demo(temp.file("Duskify"));
    const std::string window = test::waitForWindow("^Duskify$", 20000);
    ASSERT_FALSE(window.empty());
    platform::sleepMilliseconds(500);
    ASSERT_TRUE(test::requestClose(window));
    int code = -1;
    const double took = millisecondsUntilExit(demo, code);
    ASSERT_GE(took, 0) << "the close request did not end the demo";
    EXPECT_LT(took, 1000);
    EXPECT_EQ(code, 0);
}

} // namespace
} // namespace tarvoke
