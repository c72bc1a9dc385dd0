// The key numbering: window-system scancodes (USB HID usages) to DirectInput scan codes.
#include <gtest/gtest.h>
#include <map>
#include <set>
#include "platform/Events.h"

namespace tarvoke {
namespace {

using platform::keyCodeOfScancode;

TEST(KeyboardTable, KeysTheFrameLoopAndGamesRelyOn) {
    const std::map<int, int> expected = {
        {41, 1},    // Escape
        {42, 14},   // Backspace
        {40, 28},   // Enter
        {225, 42},  // left Shift
        {229, 54},  // right Shift
        {226, 56},  // left Alt
        {230, 184}, // right Alt
        {61, 62},   // F4
        {88, 156},  // keypad Enter
        {224, 29},  // left Control
        {228, 157}, // right Control
        {4, 30},    // A
        {29, 44},   // Z, the key left of X on a PC keyboard
        {30, 2},    // 1
        {39, 11},   // 0
        {44, 57},   // Space
        {82, 200},  // Up
        {81, 208},  // Down
        {80, 203},  // Left
        {79, 205},  // Right
        {84, 181},  // keypad Divide
        {85, 55},   // keypad Multiply
        {100, 86},  // the extra key of 102-key keyboards
    };
    for (const auto& [scancode, keyCode] : expected)
        EXPECT_EQ(keyCodeOfScancode(scancode), keyCode) << "scancode " << scancode;
}

TEST(KeyboardTable, EveryKeyOfAFullPcKeyboardHasItsOwnCode) {
    // Letters, digits, punctuation, F1-F12, the editing and arrow blocks, the keypad, the
    // modifiers and the Windows keys: usages 4..99 (less 50, the non-US hash which shares the
    // backslash key's code), 101, and 224..231.
    std::set<int> codes;
    int keys = 0;
    auto check = [&](int scancode) {
        const int code = keyCodeOfScancode(scancode);
        EXPECT_GT(code, 0) << "scancode " << scancode;
        EXPECT_LE(code, 255);
        codes.insert(code);
        ++keys;
    };
    for (int scancode = 4; scancode <= 99; ++scancode)
        if (scancode != 50) check(scancode);
    check(101);
    for (int scancode = 224; scancode <= 231; ++scancode) check(scancode);
    EXPECT_EQ(keys, 104);
    EXPECT_EQ(codes.size(), std::size_t(keys)) << "two keys share a code";
}

TEST(KeyboardTable, UnknownScancodesHaveNoCode) {
    EXPECT_EQ(keyCodeOfScancode(0), -1);
    EXPECT_EQ(keyCodeOfScancode(-5), -1);
    EXPECT_EQ(keyCodeOfScancode(100000), -1);
}

} // namespace
} // namespace tarvoke
