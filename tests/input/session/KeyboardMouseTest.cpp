// Keys and the mouse from outside, through the X server (xdotool), read by an engine running in
// this process with its window focused.
#include <gtest/gtest.h>
#include <cstdlib>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include "platform/Clock.h"
#include "support/TestSupport.h"
#include "support/XSession.h"

namespace tarvoke {
namespace {

class KeyboardMouse : public ::testing::Test {
protected:
    void SetUp() override {
        engine = std::make_unique<test::EngineRun>(ProjectSettings{}, "Input test");
        setAutoPause(0);
        allowEscape(0);
        window = std::to_string(long(getWindowHandle()));
        test::focusWindow(window);
        frames(3);
    }
    // Every key xdotool pressed is released before the next test: a key left down would repeat.
    void TearDown() override {
        int code = -1;
        for (auto& child : children) EXPECT_TRUE(child->waitForExit(5000, code));
        engine.reset();
    }

    static void frames(int count) {
        for (int frame = 0; frame < count; ++frame) showScreen();
    }
    // Runs frames until the condition holds; false after two seconds.
    static bool frameUntil(const std::function<bool()>& condition) {
        for (int frame = 0; frame < 120; ++frame) {
            showScreen();
            if (condition()) return true;
        }
        return false;
    }
    static std::set<int> keysDown() {
        std::set<int> codes;
        for (int code = 0; code < 256; ++code)
            if (keyDown(code)) codes.insert(code);
        return codes;
    }
    // Starts xdotool now and leaves it running, for the commands that wait.
    test::ChildProgram& xdotoolLater(const std::vector<std::string>& arguments) {
        children.push_back(std::make_unique<test::ChildProgram>("xdotool", arguments, std::vector<std::string>{"LD_PRELOAD="}));
        return *children.back();
    }

    test::ScopedTempDir temp;
    std::unique_ptr<test::EngineRun> engine;
    std::string window;
    std::vector<std::unique_ptr<test::ChildProgram>> children;
};

TEST_F(KeyboardMouse, KeysReachKeyDownWithTheirCodes) {
    const std::pair<const char*, std::set<int>> batches[] = {
        {"a z 1 0 F1 F12 space Return BackSpace Tab", {30, 44, 2, 11, 59, 88, 57, 28, 14, 15}},
        {"KP_Home KP_Up KP_Insert KP_Delete KP_Enter KP_Divide KP_Multiply KP_Subtract KP_Add",
         {71, 72, 82, 83, 156, 181, 55, 74, 78}},
        {"Up Down Left Right Home End Insert Delete Prior Next", {200, 208, 203, 205, 199, 207, 210, 211, 201, 209}},
        {"Shift_L Shift_R Control_L Control_R Alt_L Alt_R Super_L Super_R", {42, 54, 29, 157, 56, 184, 219, 220}},
    };
    for (const auto& [keys, codes] : batches) {
        test::xdotool(std::string("keydown ") + keys);
        EXPECT_TRUE(frameUntil([&] { return keysDown().size() >= codes.size(); })) << keys;
        EXPECT_EQ(keysDown(), codes) << keys;
        test::xdotool(std::string("keyup ") + keys);
        EXPECT_TRUE(frameUntil([] { return keysDown().empty(); })) << keys;
    }
}

TEST_F(KeyboardMouse, KeysTappedBetweenTwoFramesReadDownForTheWholeNextFrame) {
    showScreen();
    test::xdotool("key x c");  // down and up, twice, before the next frame's poll
    platform::sleepMilliseconds(100);
    showScreen();
    for (int call = 0; call < 3; ++call) {
        EXPECT_EQ(keyDown(45), 1) << "x, call " << call;
        EXPECT_EQ(keyDown(46), 1) << "c, call " << call;
    }
    showScreen();
    EXPECT_TRUE(keysDown().empty());
}

TEST_F(KeyboardMouse, InkeyGivesOneCharacterPerPressInTheLayoutsSymbols) {
    test::xdotool("keydown a");
    ASSERT_TRUE(frameUntil([] { return keyDown(30) != 0; }));
    EXPECT_STREQ(inkey().cStr(), "a");
    for (int frame = 0; frame < 3; ++frame, showScreen()) EXPECT_STREQ(inkey().cStr(), "") << "held, frame " << frame;
    test::xdotool("keyup a");
    const std::pair<const char*, const char*> presses[] = {
        {"a", "a"}, {"shift+1", "!"}, {"shift+a", "A"}, {"shift+bracketleft", "{"}, {"Return", "\n"}, {"BackSpace", "\b"},
    };
    for (const auto& [keys, typed] : presses) {
        test::xdotool(std::string("key ") + keys);
        StrValue got;
        frameUntil([&] { return (got = inkey()).length() > 0; });
        EXPECT_STREQ(got.cStr(), typed) << keys;
    }
}

TEST_F(KeyboardMouse, ALayoutsLettersArriveAsWindows1252Bytes) {
    struct RestoreLayout {
        ~RestoreLayout() { std::system("env -u LD_PRELOAD setxkbmap us"); }
    } restore;
    ASSERT_EQ(std::system("env -u LD_PRELOAD setxkbmap de"), 0);
    frames(3);
    test::xdotool("key udiaeresis shift+adiaeresis y");
    std::string typed;
    frameUntil([&] {
        for (StrValue ch = inkey(); ch.length() > 0; ch = inkey()) typed += ch.cStr();  // all of the frame's
        return typed.size() >= 3;
    });
    EXPECT_EQ(typed, "\xFC\xC4y");
}

TEST_F(KeyboardMouse, InputTextEditsAndEndsOnEnter) {
    test::ChildProgram& keys = xdotoolLater({"sleep", "0.3", "key", "--delay", "60", "c", "BackSpace", "Return"});
    StrValue text = "ab";
    inputText(text, 10, 10);
    EXPECT_STREQ(text.cStr(), "ab");
    int code = -1;
    ASSERT_TRUE(keys.waitForExit(5000, code));
    ASSERT_TRUE(frameUntil([] { return keysDown().empty(); }));
    // Typed faster than the frames come, the characters keep their order, a key pressed twice
    // within a frame types twice (4 ms apart: the window system takes a release and press of one
    // key under 2 ms apart for auto-repeat).
    xdotoolLater({"sleep", "0.3", "key", "--delay", "4", "b", "a", "a", "Return"});
    StrValue second;
    inputText(second, 10, 10);
    EXPECT_STREQ(second.cStr(), "baa");
    // A line started from the first of several characters typed before the frame (as a chat
    // does) gets the others too.
    test::xdotool("key --delay 1 x y z Return");
    StrValue third;
    ASSERT_TRUE(frameUntil([&] { return (third = inkey()).length() > 0; }));
    EXPECT_STREQ(third.cStr(), "x");
    inputText(third, 10, 10);
    EXPECT_STREQ(third.cStr(), "xyz");
}

TEST_F(KeyboardMouse, WaitsEndOnAKeyAndOnAButton) {
    xdotoolLater({"sleep", "0.3", "key", "q"});
    waitForKey();
    EXPECT_STREQ(inkey().cStr(), "") << "waitForKey takes the character";
    test::xdotool("mousemove --window " + window + " 200 200");
    xdotoolLater({"sleep", "0.3", "click", "1"});
    waitForMouseButton();
    EXPECT_EQ(mouseAxis(3), 1);
}

TEST_F(KeyboardMouse, TheMouseMovesOncePerFrame) {
    test::xdotool("mousemove --window " + window + " 150 120");
    frameUntil([] { return mouseAxis(0) != 0; });
    frames(2);
    test::xdotool("mousemove --window " + window + " 350 220");
    ASSERT_TRUE(frameUntil([] { return mouseAxis(0) != 0; }));
    EXPECT_EQ(mouseAxis(0), 200) << "read again in the same frame";
    EXPECT_EQ(mouseAxis(1), 100);
    NumValue x, y, left, right;
    mouseState(x, y, left, right);
    EXPECT_EQ(x, 350);
    EXPECT_EQ(y, 220);
    showScreen();
    EXPECT_EQ(mouseAxis(0), 0) << "a new frame without movement";
}

TEST_F(KeyboardMouse, MouseStateStaysOnTheScreen) {
    showScreen();
    mouseAxis(0);  // takes the frame's movement
    const NumValue positions[][4] = {{-50, -1, 0, 0}, {5000, 9999, 639, 479}, {320.7, 12.2, 320, 12}};
    for (const auto& p : positions) {
        setMousePosition(p[0], p[1]);
        NumValue x, y, left, right;
        mouseState(x, y, left, right);
        EXPECT_EQ(x, p[2]);
        EXPECT_EQ(y, p[3]);
    }
}

TEST_F(KeyboardMouse, TheHiddenPointerFollowsRelativeMotion) {
    test::xdotool("mousemove --window " + window + " 320 240");
    frames(2);
    systemPointer(0);
    for (int frame = 0; frame < 5; ++frame, showScreen()) mouseAxis(0);  // whatever hiding moved
    setMousePosition(300, 300);
    test::xdotool("mousemove_relative -- 5 -7");
    ASSERT_TRUE(frameUntil([] { return mouseAxis(0) != 0; }));
    EXPECT_EQ(mouseAxis(0), 5);
    EXPECT_EQ(mouseAxis(1), -7);
    NumValue x, y, left, right;
    mouseState(x, y, left, right);
    EXPECT_EQ(x, 305);
    EXPECT_EQ(y, 293);
}

TEST_F(KeyboardMouse, WheelAndButtons) {
    test::xdotool("mousemove --window " + window + " 200 200");
    const std::pair<const char*, std::pair<int, int>> clicks[] = {
        {"click 4", {2, 1}}, {"click 5", {2, -1}}, {"click 1", {3, 1}}, {"click 3", {4, 1}}, {"click 2", {5, 1}},
    };
    for (const auto& [command, expected] : clicks) {
        const auto [axis, value] = expected;
        showScreen();
        test::xdotool(command);
        platform::sleepMilliseconds(50);
        EXPECT_TRUE(frameUntil([axis = axis, value = value] { return mouseAxis(axis) == value; })) << command;
        showScreen();
        EXPECT_EQ(mouseAxis(axis), 0) << command << ", the frame after";
    }
}

} // namespace
} // namespace tarvoke
