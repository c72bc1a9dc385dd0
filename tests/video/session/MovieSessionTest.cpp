// Movies under the X server: the window captured while a looping clip plays, keys and buttons
// from xdotool ending it, and the close button ending a game in the middle of one.
#include <gtest/gtest.h>
#include <array>
#include <memory>
#include <sstream>
#include <string>
#include <vector>
#include "core/FrameClock.h"
#include "platform/Clock.h"
#include "support/MovieClips.h"
#include "support/TestSupport.h"
#include "support/XSession.h"
#include "video/Video.h"

namespace tarvoke {
namespace {

struct Rgb8 {
    int r, g, b;
};

// The P6 picture `import` wrote; empty when it is not one.
std::vector<std::uint8_t> readPpm(const std::string& bytes, int& width, int& height) {
    std::istringstream in(bytes);
    std::string magic;
    int maximum = 0;
    in >> magic >> width >> height >> maximum;
    in.get();
    const std::size_t size = std::size_t(width) * std::size_t(height) * 3;
    if (magic != "P6" || maximum != 255 || bytes.size() < std::size_t(in.tellg()) + size) return {};
    return std::vector<std::uint8_t>(bytes.end() - std::ptrdiff_t(size), bytes.end());
}

class MovieSession : public ::testing::Test {
protected:
    void SetUp() override {
        engine = std::make_unique<test::EngineRun>(ProjectSettings{}, "Movie test");
        setAutoPause(0);
        window = std::to_string(long(getWindowHandle()));
        test::focusWindow(window);
        showScreen();
    }
    // Runs the shell script beside the test, without the sanitizer preload.
    std::unique_ptr<test::ChildProgram> later(const std::string& script) {
        return std::make_unique<test::ChildProgram>("sh", std::vector<std::string>{"-c", script},
                                                    std::vector<std::string>{"LD_PRELOAD="});
    }
    // Plays the clip looping; returns how long playMovie took.
    double playLooping(const std::string& path) {
        const double start = now();
        EXPECT_EQ(playMovie(path.c_str(), 1), 0);
        return now() - start;
    }

    test::ScopedTempDir temp;
    std::unique_ptr<test::EngineRun> engine;
    std::string window;
};

TEST_F(MovieSession, ALoopingClipShowsBoxedWhereItsShapeLeavesRoomUntilAKey) {
    const struct { const char* name; int width, height; std::vector<std::pair<std::array<int, 2>, Rgb8>> points; } cases[] = {
        {"wide", 320, 120, {{{320, 60}, {0, 0, 0}}, {{320, 180}, {255, 0, 0}}, {{5, 300}, {0, 255, 0}}, {{320, 420}, {0, 0, 0}}}},
        {"tall", 120, 320, {{{100, 240}, {0, 0, 0}}, {{240, 100}, {255, 0, 0}}, {{400, 400}, {0, 255, 0}}, {{540, 240}, {0, 0, 0}}}},
    };
    for (const auto& c : cases) {
        const std::string path = temp.file(std::string(c.name) + ".mp4"), shot = temp.file(std::string(c.name) + ".ppm");
        ASSERT_TRUE(test::makeClip(path, c.width, c.height));
        auto keys = later("sleep 1.3; import -window " + window + " -depth 8 ppm:" + shot + "; xdotool key space");
        const double took = playLooping(path);
        int code = -1;
        ASSERT_TRUE(keys->waitForExit(5000, code));
        EXPECT_GE(took, 1300) << c.name << ": played on past the clip's end";
        EXPECT_GE(lastMovieStatistics().passes, 2) << c.name;
        int width = 0, height = 0;
        const std::vector<std::uint8_t> pixels = readPpm(test::readFile(shot), width, height);
        ASSERT_EQ(pixels.size(), 640u * 480u * 3u) << c.name;
        for (const auto& [at, colour] : c.points) {
            const std::uint8_t* p = &pixels[(std::size_t(at[1]) * 640 + std::size_t(at[0])) * 3];
            EXPECT_NEAR(p[0], colour.r, 12) << c.name << " at " << at[0] << "," << at[1];
            EXPECT_NEAR(p[1], colour.g, 12) << c.name << " at " << at[0] << "," << at[1];
            EXPECT_NEAR(p[2], colour.b, 12) << c.name << " at " << at[0] << "," << at[1];
        }
    }
}

TEST_F(MovieSession, TheKeyHeldAtTheStartDoesNotEndItButAPressOrAClickDoes) {
    const std::string path = temp.file("clip.mp4");
    ASSERT_TRUE(test::makeClip(path, 64, 48));
    test::xdotool("mousemove --window " + window + " 100 100");
    for (const char* press : {"key x", "click 1"}) {
        test::xdotool("keydown a");
        auto input = later(std::string("sleep 0.6; xdotool keyup a; sleep 0.3; xdotool ") + press);
        EXPECT_GE(playLooping(path), 600) << press << ": not ended while the first key was held";
        int code = -1;
        ASSERT_TRUE(input->waitForExit(5000, code));
        for (int frame = 0; frame < 5; ++frame) showScreen();
    }
}

TEST(MovieGame, ClosingTheWindowDuringAMovieEndsTheProgram) {
    test::ScopedTempDir temp;
    ASSERT_TRUE(test::makeClip(temp.file("clip.mp4"), 64, 48));
    test::ChildProgram game(test::programPath("movie_game"), {temp.file("clip.mp4")});
    const std::string window = test::waitForWindow("^Movie game$", 20000);
    ASSERT_FALSE(window.empty());
    for (int wait = 0; wait < 100 && !test::fileExists(temp.file("playing")); ++wait) platform::sleepMilliseconds(20);
    platform::sleepMilliseconds(300);
    ASSERT_TRUE(test::requestClose(window));
    int code = -1;
    ASSERT_TRUE(game.waitForExit(5000, code)) << "the close request did not end the game";
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(test::fileExists(temp.file("returned"))) << "it ended inside playMovie";
}

} // namespace
} // namespace tarvoke
