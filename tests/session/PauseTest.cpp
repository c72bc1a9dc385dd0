// Pausing while the window is inactive, with real focus changes on the X server.
#include <gtest/gtest.h>
#include <cstdlib>
#include "support/TestSupport.h"
#include "support/XSession.h"
#include "platform/Clock.h"

namespace tarvoke {
namespace {

using test::ChildProgram;
using test::ScopedTempDir;

constexpr int windowTimeoutMs = 20000;

long framesShown(const ScopedTempDir& temp) { return std::atol(test::readFile(temp.file("frames.txt")).c_str()); }

// Another client's window to move the focus to.
class OtherWindow {
public:
    OtherWindow() : program_("xlogo", {"-geometry", "100x100+0+0"}) { id_ = test::waitForWindow("^xlogo$", windowTimeoutMs); }
    const std::string& id() const { return id_; }

private:
    ChildProgram program_;
    std::string id_;
};

TEST(Pause, DeactivationPausesTheFramesAndMarksTheCaption) {
    ScopedTempDir temp;
    ChildProgram game(test::programPath("loop_game"), {"count"});
    const std::string window = test::waitForWindow("^Loop game$", windowTimeoutMs);
    ASSERT_FALSE(window.empty()) << "no window; the game is " << (game.isRunning() ? "running" : "gone");
    OtherWindow other;
    ASSERT_FALSE(other.id().empty());
    test::focusWindow(window);
    test::focusWindow(other.id());
    ASSERT_TRUE(test::waitForWindowName(window, "Loop game <pause>", 3000));
    platform::sleepMilliseconds(300);  // any frame in flight finishes
    const long pausedAt = framesShown(temp);
    platform::sleepMilliseconds(600);
    EXPECT_EQ(framesShown(temp), pausedAt) << "frames went on while paused";
    EXPECT_TRUE(game.isRunning());

    test::focusWindow(window);
    ASSERT_TRUE(test::waitForWindowName(window, "Loop game", 3000));
    platform::sleepMilliseconds(500);
    EXPECT_GT(framesShown(temp), pausedAt + 5);
}

TEST(Pause, WithAutoPauseOffTheGameRunsOnInTheBackground) {
    ScopedTempDir temp;
    ChildProgram game(test::programPath("loop_game"), {"count", "noautopause"});
    const std::string window = test::waitForWindow("^Loop game$", windowTimeoutMs);
    ASSERT_FALSE(window.empty()) << "no window; the game is " << (game.isRunning() ? "running" : "gone");
    OtherWindow other;
    ASSERT_FALSE(other.id().empty());
    test::focusWindow(window);
    platform::sleepMilliseconds(200);
    test::focusWindow(other.id());
    platform::sleepMilliseconds(300);
    const long before = framesShown(temp);
    platform::sleepMilliseconds(500);
    EXPECT_GT(framesShown(temp), before + 5);
    EXPECT_EQ(test::windowName(window), "Loop game");
}

TEST(Pause, DebugModeNeverPauses) {
    ScopedTempDir temp;
    ChildProgram game(test::programPath("debug_game"));
    const std::string window = test::waitForWindow("^Debug game$", windowTimeoutMs);
    ASSERT_FALSE(window.empty()) << "no window; the game is " << (game.isRunning() ? "running" : "gone")
                                 << "; windows: " << test::xdotool("search --name '.*' getwindowname %@");
    OtherWindow other;
    ASSERT_FALSE(other.id().empty());
    test::focusWindow(window);
    test::focusWindow(other.id());
    platform::sleepMilliseconds(500);
    EXPECT_EQ(test::windowName(window), "Debug game");
}

} // namespace
} // namespace tarvoke
