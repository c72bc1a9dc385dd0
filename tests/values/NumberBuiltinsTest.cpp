// The number and text built-ins at their edges, and DATA lists running out.
#include "tarvoke/builtins.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include "support/TestSupport.h"

namespace tarvoke {
namespace {

const NumValue negativeNaN = std::copysign(NAN, -1.0);

std::string bytesOf(const StrValue& value) { return std::string(value.cStr(), value.length()); }

TEST(FormatFixed, PadsFixedDigitsToTheField) {
    struct Case { NumValue width, decimals, value; std::string expected; };
    const Case cases[] = {
        {8, 3, 3.14159, "   3.142"}, {-6, 1, 2, "2.0   "}, {2, 3, 1234.5, "1234.500"},
        {8.9, 2.9, -0.004, "   -0.00"}, {0, -5, 2.7, "3"}, {5, NAN, 7.5, "    8"},
        {8, 3, INFINITY, "  1.#INF"}, {-8, 3, -INFINITY, "-1.#INF "}, {7, 2, negativeNaN, "-1.#IND"},
        // at most 511 bytes of field and 100 decimals; a width outside the 32-bit range or NaN
        // truncates to -2147483648 and so left-justifies
        {600, 0, 1, std::string(510, ' ') + "1"}, {1e10, 0, 1, "1" + std::string(510, ' ')},
        {NAN, 0, 1, "1" + std::string(510, ' ')}, {0, 500, 1, "1." + std::string(100, '0')},
    };
    for (const Case& c : cases)
        EXPECT_EQ(bytesOf(formatFixed(c.width, c.decimals, c.value)), c.expected) << c.width << " " << c.value;
    EXPECT_EQ(formatFixed(600, 1e9, -DBL_MAX).length(), 511u);
}

// The German locale (decimal comma) is compiled into a temporary folder, so the test does not
// depend on which locales the machine has generated.
TEST(FormatFixed, IgnoresTheProcessLocalesDecimalComma) {
    test::ScopedTempDir temp;
    const std::string build = "env -u LD_PRELOAD localedef -i de_DE -f UTF-8 -c " + temp.file("de_DE.UTF-8") + " >/dev/null 2>&1";
    ASSERT_EQ(std::system(build.c_str()), 0) << "localedef (Debian package locales) could not build de_DE";
    ::setenv("LOCPATH", temp.path().c_str(), 1);
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr);
    char withComma[16];
    std::snprintf(withComma, sizeof withComma, "%.2f", 1.5);
    const std::string printed = bytesOf(formatFixed(6, 2, 1.5));
    std::setlocale(LC_NUMERIC, previous.c_str());
    ::unsetenv("LOCPATH");
    EXPECT_STREQ(withComma, "1,50");  // the locale really is in force
    EXPECT_EQ(printed, "  1.50");
}

TEST(TextBuiltins, HexBytesCharCodeAndLengths) {
    const unsigned char bytes[] = {0x0F, 0xA0, 0x80, 0xFF, 0x00, 0x7F};
    EXPECT_EQ(bytesOf(hexBytes(bytes, 6)), "0FA080FF007F");
    EXPECT_EQ(bytesOf(hexBytes(bytes, 0)), "");
    EXPECT_EQ(bytesOf(hexBytes(bytes, INT32_MIN)), "");
    struct Case { const char* text; NumValue code; };
    const Case codes[] = {{"Az", 65}, {"\x7F", 127}, {"\x80", -128}, {"\xE9", -23}, {"\xFF", -1}, {"", 0}};
    for (const Case& c : codes) EXPECT_EQ(charCode(c.text), c.code) << c.text;
    EXPECT_EQ(textLength("h\xE9llo"), 5.0);
    const NumValue numbers[] = {1, -0.5, 1e15, -INFINITY, negativeNaN};
    const NumValue lengths[] = {1, 4, 7, 7, 7};  // "1", "-0.5", "1.e+015", "-1.#INF", "-1.#IND"
    for (int i = 0; i < 5; ++i) EXPECT_EQ(numberTextLength(numbers[i]), lengths[i]) << numbers[i];
}

TEST(MidText, TakesOnlyWhatLiesInsideTheText) {
    struct Case { NumValue start, count; const char* expected; };
    const Case cases[] = {
        {1, 3, "ell"}, {3, 10, "lo"}, {1.9, 2.9, "el"}, {5, 1, ""}, {-1, 3, ""}, {2, 0, ""},
        // huge and NaN arguments saturate instead of overflowing
        {1, 1e12, "ello"}, {0, INFINITY, "hello"}, {1, -1e12, ""}, {1e12, 1, ""},
        {-1e12, 1e12, ""}, {-1e300, 1e300, ""}, {NAN, 3, ""}, {1, NAN, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(bytesOf(midText("hello", c.start, c.count)), c.expected) << c.start << ", " << c.count;
}

TEST(ReplaceText, EachMatchLeftToRightNeverInsideAReplacement) {
    struct Case { const char* text; const char* search; const char* replacement; const char* expected; };
    const Case cases[] = {
        {"banana", "an", "AN", "bANANa"}, {"aaaa", "aa", "a", "aa"}, {"aaa", "aa", "b", "ba"},
        {"abc", "x", "y", "abc"}, {"abc", "ABC", "z", "abc"}, {"abc", "", "z", "abc"},
        {"abc", "abc", "", ""}, {"aXa", "a", "aa", "aaXaa"}, {"xx", "x", "xxx", "xxxxxx"},
    };
    for (const Case& c : cases) {
        const StrValue text(c.text);
        EXPECT_EQ(bytesOf(replaceText(text, c.search, c.replacement)), c.expected) << c.text << "/" << c.search;
        EXPECT_EQ(bytesOf(text), c.text);
    }
    std::string many, expected;
    for (int i = 0; i < 5000; ++i) {  // across many buffer steps
        many += "ab";
        expected += "xyzb";
    }
    EXPECT_EQ(bytesOf(replaceText(many.c_str(), "a", "xyz")), expected);
}

TEST(CharFromCode, LowByteOfCodesInTheSixteenBitRange) {
    struct Case { NumValue code; const char* expected; };
    const Case cases[] = {
        {65, "A"}, {65.9, "A"}, {321, "A"}, {-191, "A"}, {-1, "\xFF"}, {32767, "\xFF"}, {-32767, "\x01"},
        {0, ""}, {256, ""}, {-32768, ""}, {32768, ""}, {70000, ""}, {3e9, ""}, {NAN, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(bytesOf(charFromCode(c.code)), c.expected) << c.code;
}

TEST(MathBuiltins, DegreesExactAtRightAnglesAndClampedOutsideTheDomain) {
    const NumValue results[] = {sinDeg(90), cosDeg(180), atanDeg(1, 0), atanDeg(0, -1), asinDeg(1.5),
                                asinDeg(-1), acosDeg(7), acosDeg(-1.01), acosDeg(1)};
    const NumValue expected[] = {1, -1, 90, 180, 90, -90, 0, 180, 0};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(results[i], expected[i]) << "call " << i;
    EXPECT_NEAR(asinDeg(0.5), 30, 1e-12);
    EXPECT_NEAR(acosDeg(0.5), 60, 1e-12);
    EXPECT_NEAR(tanDeg(45), 1, 1e-15);
}

TEST(MathBuiltins, NaNInGivesNaNOut) {
    const NumValue results[] = {sinDeg(NAN), cosDeg(NAN), tanDeg(NAN), asinDeg(NAN), acosDeg(NAN),
                                atanDeg(NAN, 1), atanDeg(1, NAN), squareRoot(NAN), squareRoot(-1),
                                absValue(NAN), power(NAN, 2)};
    for (NumValue result : results) EXPECT_TRUE(std::isnan(result)) << result;
}

TEST(Modulo, TruncatesBothSidesAndKeepsTheSignOfTheDividend) {
    struct Case { NumValue a, b, expected; };
    const Case cases[] = {
        {7, 3, 1}, {-7, 3, -1}, {7, -3, 1}, {7.9, 3.9, 1}, {5, 0, 0}, {5, 0.5, 0}, {5, -0.9, 0},
        {-2147483648.0, -1, 0}, {5, -1, 0},
        // outside the 32-bit range and NaN truncate to -2147483648 first
        {3e9, 7, -2}, {NAN, 3, -2}, {7, 3e9, 7}, {5, NAN, 5}, {-2147483648.0, 3e9, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(modulo(c.a, c.b), c.expected) << c.a << " mod " << c.b;
}

TEST(BoxesOverlap, ClosedIntervalsOnBothAxes) {
    struct Case { NumValue a[4], b[4], expected; };
    const Case cases[] = {
        {{0, 0, 10, 10}, {10, 0, 5, 5}, 1}, {{0, 0, 10, 10}, {10.5, 0, 5, 5}, 0},
        {{10, 10, -10, -10}, {5, 5, 1, 1}, 1}, {{0, 0, 10, 10}, {20, 20, -10, -10}, 1},
        {{0, 0, 10, 10}, {2, 11, 1, 1}, 0}, {{3, 3, 1, 1}, {0, 0, 10, 10}, 1},
        {{0, 0, NAN, 10}, {5, 5, 1, 1}, 0}, {{0, 0, 10, 10}, {5, 5, 1, NAN}, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(boxesOverlap(c.a[0], c.a[1], c.a[2], c.a[3], c.b[0], c.b[1], c.b[2], c.b[3]), c.expected)
            << "case " << (&c - cases);
    }
}

// ---------------------------------------------------------------- DATA lists

const DataItem fiveAndText[] = {{5, nullptr}, {0, "7x"}};
DataList fiveAndTextList{fiveAndText, 2, 0};
DataList emptyList{nullptr, 0, 0};

// Runs out of data in a forked child that shares this test's error log folder.
class DataReading : public testing::Test {
protected:
    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "fast");
        projectSettings.debugMode = 1;
        setDebugPosition(3, 40);
    }
    void TearDown() override { projectSettings.debugMode = 0; }
    std::string errorLog() const { return test::readFile(temp.file("ErrorLog.txt")); }
    test::ScopedTempDir temp;
};

// errorCode 20, errorLine - 1, currentLine, debugTag
const std::string endRecordOfError20 = "-End On Line\r\n20\r\n39\r\n40\r\n3\r\n";

// Must stay the first test in this process to restore a list: no list is current before.
TEST_F(DataReading, BeforeAnyRestoreReadingEndsWithError20) {
    EXPECT_EXIT(readDataNumber(), testing::ExitedWithCode(0), "");
    EXPECT_EQ(errorLog(), endRecordOfError20);
}

TEST_F(DataReading, ItemsReadInOrderThenAReadPastTheEndEndsWithError20) {
    restoreData(fiveAndTextList);
    EXPECT_EQ(bytesOf(readDataText()), "5");
    EXPECT_EQ(readDataNumber(), 7.0);
    EXPECT_EXIT(readDataText(), testing::ExitedWithCode(0), "");
    EXPECT_EQ(errorLog(), endRecordOfError20);
    restoreData(fiveAndTextList);
    EXPECT_EQ(readDataNumber(), 5.0);
    EXPECT_EQ(bytesOf(readDataText()), "7x");
}

TEST_F(DataReading, AnEmptyListOrAnIndexMovedBelowZeroEndsWithError20) {
    restoreData(emptyList);
    EXPECT_EXIT(readDataNumber(), testing::ExitedWithCode(0), "");
    restoreData(fiveAndTextList);
    fiveAndTextList.readIndex = -1;
    EXPECT_EXIT(readDataNumber(), testing::ExitedWithCode(0), "");
    EXPECT_EQ(errorLog(), endRecordOfError20 + endRecordOfError20);
}

} // namespace
} // namespace tarvoke
