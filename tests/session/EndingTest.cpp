// Whole programs ended from outside, as a player ends them: Escape, Alt+F4, the close button.
#include <gtest/gtest.h>
#include <filesystem>
#include "support/TestSupport.h"
#include "support/XSession.h"
#include "platform/Clock.h"

namespace tarvoke {
namespace {

using test::ChildProgram;
using test::ScopedTempDir;

constexpr int windowTimeoutMs = 20000;
constexpr int exitTimeoutMs = 5000;

// Start-up shows frames too, and Escape during them ends the program before its first line.
bool waitUntilRunning(const ScopedTempDir& temp) {
    for (int waited = 0; waited < windowTimeoutMs; waited += 20) {
        if (test::fileExists(temp.file("running"))) return true;
        platform::sleepMilliseconds(20);
    }
    return false;
}

void expectEndsWithCodeZero(ChildProgram& game, int timeoutMs = exitTimeoutMs) {
    int code = -1;
    ASSERT_TRUE(game.waitForExit(timeoutMs, code)) << "the program did not end";
    EXPECT_EQ(code, 0);
}

TEST(Ending, EscapeEndsARunningProgramWithCodeZero) {
    ScopedTempDir temp;
    ChildProgram game(test::programPath("loop_game"));
    ASSERT_FALSE(test::waitForWindowAndFocus("^Loop game$", windowTimeoutMs).empty());
    test::holdKeys({"Escape"}, 150);
    expectEndsWithCodeZero(game);
}

TEST(Ending, AllowEscapeZeroKeepsItRunningButAltF4StillEnds) {
    ScopedTempDir temp;
    ChildProgram game(test::programPath("loop_game"), {"noescape"});
    ASSERT_FALSE(test::waitForWindowAndFocus("^Loop game$", windowTimeoutMs).empty());
    test::holdKeys({"Escape"}, 150);
    platform::sleepMilliseconds(500);
    EXPECT_TRUE(game.isRunning());
    test::holdKeys({"alt", "F4"}, 150);
    expectEndsWithCodeZero(game);
}

TEST(Ending, TheWindowsCloseRequestEndsWithCodeZero) {
    ScopedTempDir temp;
    ChildProgram game(test::programPath("loop_game"));
    const std::string window = test::waitForWindow("^Loop game$", windowTimeoutMs);
    ASSERT_FALSE(window.empty());
    ASSERT_TRUE(test::requestClose(window));
    expectEndsWithCodeZero(game);
}

// SDL would fall back to a driver that shows nothing; a game must not run on unseen.
TEST(Ending, WithNoReachableDisplayTheGameEndsInsteadOfRunningUnseen) {
    if (std::filesystem::exists("/dev/dri")) GTEST_SKIP() << "a console display could take over here";
    ScopedTempDir temp;
    ChildProgram game(test::programPath("loop_game"), {}, {"DISPLAY=:987", "WAYLAND_DISPLAY=none"});
    expectEndsWithCodeZero(game);
}

TEST(Ending, InDebugModeEscapeLeavesTheEndRecord) {
    ScopedTempDir temp;
    ChildProgram game(test::programPath("debug_game"));
    ASSERT_FALSE(test::waitForWindowAndFocus("^Debug game$", windowTimeoutMs).empty());
    ASSERT_TRUE(waitUntilRunning(temp));
    test::holdKeys({"Escape"}, 150);
    expectEndsWithCodeZero(game);
    EXPECT_EQ(test::readFile(temp.file("ErrorLog.txt")), "-End On Line\r\n0\r\n41\r\n42\r\n5\r\n");
}

TEST(Ending, ARuntimeErrorReachesTheLogInDebugModeAndTheExitCodeStaysZero) {
    ScopedTempDir temp;
    ChildProgram game(test::programPath("debug_game"), {"error"});
    expectEndsWithCodeZero(game, windowTimeoutMs);
    EXPECT_EQ(test::readFile(temp.file("ErrorLog.txt")), "-End On Line\r\n7\r\n41\r\n42\r\n5\r\n");
}

// The INI document and the line file are saved on every way out a player takes.
TEST(Ending, EscapeAndTheCloseButtonSaveTheGamesFiles) {
    const struct {
        const char* way;
        bool (*end)(const std::string& window);
    } table[] = {
        {"escape", [](const std::string&) { test::holdKeys({"Escape"}, 150); return true; }},
        {"close", [](const std::string& window) { return test::requestClose(window); }},
    };
    for (const auto& row : table) {
        ScopedTempDir temp;
        ChildProgram game(test::programPath("files_game"), {row.way});
        const std::string window = test::waitForWindowAndFocus("^Files game$", windowTimeoutMs);
        ASSERT_FALSE(window.empty()) << row.way;
        ASSERT_TRUE(waitUntilRunning(temp)) << row.way;
        ASSERT_TRUE(row.end(window)) << row.way;
        expectEndsWithCodeZero(game);
        EXPECT_EQ(test::readFile(temp.file("game.ini")), std::string("[Run]\r\nended=") + row.way + "\r\n");
        EXPECT_EQ(test::readFile(temp.file("lines.txt")), "\r\n\r\nsaved\r\n") << row.way;
    }
}

} // namespace
} // namespace tarvoke
