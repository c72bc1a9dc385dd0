// The example games run for a few frames and show what they should.
#include <gtest/gtest.h>
#include <vector>
#include <cstring>
#include <cstdlib>
#include "graphics2d/ImageFiles.h"
#include "support/TestSupport.h"
#include "support/XSession.h"

namespace tarvoke {
namespace {

// Runs an example for some frames with the screenshot option and reads its last frame.
bool runToScreenshot(const std::string& game, int frames, Image& frame, const std::vector<std::string>& environment = {}) {
    test::ScopedTempDir temp;
    const std::string shot = temp.file("frame.png");
    test::ChildProgram child(std::string(TARVOKE_EXAMPLES) + "/" + game,
                             {"--tarvoke-frames", std::to_string(frames), "--tarvoke-screenshot", shot}, environment);
    int code = -1;
    if (!child.waitForExit(30000, code)) {
        ADD_FAILURE() << game << " did not end";
        return false;
    }
    EXPECT_EQ(code, 0) << game;
    return readImageFile(frame, shot, noColourKey);
}

TEST(Examples, TheScrollingSceneShowsStarsShipAndScore) {
    Image frame;
    ASSERT_TRUE(runToScreenshot("scrolling_scene", 30, frame));
    ASSERT_EQ(frame.width, 640);
    int white = 0, hull = 0, keyColoured = 0;
    for (int y = 0; y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x) {
            const std::uint8_t* p = frame.pixel(x, y);
            white += p[0] == 255 && p[1] == 255 && p[2] == 255;
            hull += p[0] == 0xC0 && p[1] == 0xC0 && p[2] == 0xC0;
            keyColoured += p[0] == 255 && p[1] == 0 && p[2] == 128;
        }
    }
    EXPECT_GT(white, 60 * 4) << "stars and score text";
    EXPECT_GT(hull, 100) << "the ship";
    EXPECT_EQ(keyColoured, 0) << "the sprites' key colour must not show";
}

// The table comes from the INI file, the games played from the save game of the run before.
TEST(Examples, HighScoresReadsOnItsSecondRunWhatItsFirstWrote) {
    test::ScopedTempDir temp;
    const char* iniAfter[] = {"[High Scores]\r\nscore1=750\r\nname1=Run 1\r\n[Stats]\r\ngames=1\r\n",
                              "[High Scores]\r\nscore1=1250\r\nname1=Run 2\r\nscore2=750\r\nname2=Run 1\r\n"
                              "[Stats]\r\ngames=2\r\n"};
    for (int run = 1; run <= 2; ++run) {
        test::ChildProgram game(std::string(TARVOKE_EXAMPLES) + "/high_scores", {"--tarvoke-frames", "3", temp.path()});
        int code = -1;
        ASSERT_TRUE(game.waitForExit(30000, code));
        EXPECT_EQ(code, 0);
        EXPECT_EQ(test::readFile(temp.file("highscores.ini")), iniAfter[run - 1]);
        const std::string save = test::readFile(temp.file("savegame.dat"));  // magic, games played, ...
        EXPECT_EQ(save.substr(0, 5) + save.substr(16), "HSV1" + std::string(1, char(run)) + "Run " + char('0' + run) + "\r\n");
    }
}

TEST(Examples, TheInputMonitorRunsAndPrintsItsReadings) {
    Image frame;
    ASSERT_TRUE(runToScreenshot("input-monitor", 10, frame));
    int white = 0;
    for (int y = 0; y < 130; ++y)
        for (int x = 0; x < frame.width; ++x) white += frame.pixel(x, y)[0] == 255;
    EXPECT_GT(white, 400) << "the title and the keyboard, mouse and joystick lines";
}

// The board loads its four generated effects (four green pads) and its music reaches the device:
// the disk driver's file holds the loop, louder on the left than on the right.
TEST(Examples, TheSoundBoardLoadsItsSoundsAndPlaysItsMusic) {
    test::ScopedTempDir temp;
    const std::string output = temp.file("out.pcm");
    Image frame;
    ASSERT_TRUE(runToScreenshot("sound_board", 30, frame, {"SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + output}));
    int loaded = 0;
    for (int i = 0; i < frame.width * frame.height; ++i) {
        const std::uint8_t* p = frame.pixel(i % frame.width, i / frame.width);
        loaded += p[0] == 0 && p[1] == 0xA0 && p[2] == 0;
    }
    EXPECT_EQ(loaded, 4 * 40 * 40);
    const std::string pcm = test::readFile(output);
    std::vector<std::int16_t> samples(pcm.size() / 2);
    std::memcpy(samples.data(), pcm.data(), samples.size() * 2);
    double left = 0, right = 0;
    for (std::size_t i = 0; i + 1 < samples.size(); i += 2) left += std::abs(samples[i]), right += std::abs(samples[i + 1]);
    EXPECT_GT(left / (samples.size() / 2 + 1), 1000) << "the music plays";
    EXPECT_GT(left, right);
}

// The rocket made from its generated OBJ shows its paint, the sun lights the sand, and the
// shadow lies on the sand at half its brightness.
TEST(Examples, TheSceneShowsTheRocketItsShadowAndTheLitFloor) {
    Image frame;
    ASSERT_TRUE(runToScreenshot("3d-scene", 20, frame));
    int paint = 0, sand = 0, shadow = 0, text = 0;
    auto sandLike = [](const std::uint8_t* p, int red) {
        return std::abs(p[0] - red) <= red / 10 && std::abs(p[1] * 200 - p[0] * 178) <= 6 * p[0] &&
               std::abs(p[2] * 200 - p[0] * 133) <= 6 * p[0];
    };
    for (int i = 0; i < frame.width * frame.height; ++i) {
        const std::uint8_t* p = frame.pixel(i % frame.width, i / frame.width);
        paint += p[0] > 150 && p[1] < 70 && p[2] < 70;
        sand += sandLike(p, 198);
        shadow += sandLike(p, 99);
        text += p[0] == 255 && p[1] == 255 && p[2] == 255;
    }
    EXPECT_GT(paint, 150) << "the rocket's red nose, band and fins";
    EXPECT_GT(sand, 30000) << "the sunlit floor";
    EXPECT_GT(shadow, 1500) << "the rocket's shadow";
    EXPECT_GT(text, 60) << "the line of help";
}

} // namespace
} // namespace tarvoke
