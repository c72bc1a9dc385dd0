#include "tarvoke/StrValue.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <string>

using namespace tarvoke;

namespace {

std::string bytesOf(const StrValue& value) { return std::string(value.cStr(), value.length()); }

struct FormatCase {
    NumValue value;
    const char* expected;
};

struct ParseCase {
    const char* text;
    NumValue expected;
};

} // namespace

TEST(FormatNumber, TenSignificantDigitsInTheOldRuntimesLayout) {
    const FormatCase cases[] = {
        {1, "1"}, {0, "0"}, {-0.0, "-0"}, {100, "100"}, {0.5, "0.5"}, {-2.5, "-2.5"},
        {0.125, "0.125"}, {1.0 / 3, "0.3333333333"}, {2.0 / 3, "0.6666666667"},
        {123.456, "123.456"}, {-123456.789, "-123456.789"}, {3.14159265358979, "3.141592654"},
        // fixed form ends at 10 integer digits and starts at 0.1
        {1234567890, "1234567890"}, {1234567890.5, "1234567891"}, {12345678905.0, "1.234567891e+010"},
        {-0.12345678905, "-0.1234567891"}, {9999999999.5, "1.e+010"}, {9999999999.0, "9999999999"}, {1e9, "1000000000"},
        {0.1, "0.1"}, {-0.15, "-0.15"},
        // exponent form: the "." stays when no fraction digit is left
        {0.05, "5.e-002"}, {-0.0123, "-1.23e-002"}, {0.09999999999, "9.999999999e-002"},
        {1e15, "1.e+015"}, {-1e10, "-1.e+010"}, {123456789012.0, "1.23456789e+011"},
        {1e-5, "1.e-005"}, {1.5e-7, "1.5e-007"}, {1e100, "1.e+100"}, {1e-300, "1.e-300"},
        {DBL_MAX, "1.797693135e+308"}, {DBL_MIN, "2.225073859e-308"},
        {std::numeric_limits<double>::denorm_min(), "4.940656458e-324"},
        {1e-310, "1.e-310"},
        // rounding to 10 digits carries across a power of ten and can switch the form
        {9.99999999999, "10"}, {999999.99999, "1000000"}, {99999999995.0, "1.e+011"},
        {0.099999999999, "0.1"}, {-9.999999999996e-3, "-1.e-002"},
    };
    for (const FormatCase& c : cases) {
        EXPECT_EQ(bytesOf(formatNumber(c.value)), c.expected) << "value " << c.value;
    }
}

TEST(FormatNumber, NonFiniteValuesUseTheOldRuntimesSpellings) {
    EXPECT_EQ(bytesOf(formatNumber(INFINITY)), "1.#INF");
    EXPECT_EQ(bytesOf(formatNumber(-INFINITY)), "-1.#INF");
    EXPECT_EQ(bytesOf(formatNumber(std::copysign(NAN, -1.0))), "-1.#IND");
    EXPECT_EQ(bytesOf(formatNumber(std::copysign(NAN, 1.0))), "1.#QNAN");
}

TEST(FormatNumber, FloatsAreWidenedBeforeFormatting) {
    EXPECT_EQ(bytesOf(StrValue(0.1f)), "0.1000000015");
    StrValue assigned("old text");
    assigned = 0.1f;
    EXPECT_EQ(bytesOf(assigned), "0.1000000015");
}

TEST(FormatInteger, DecimalWithMinusSign) {
    EXPECT_EQ(bytesOf(formatInteger(0)), "0");
    EXPECT_EQ(bytesOf(formatInteger(-7)), "-7");
    EXPECT_EQ(bytesOf(formatInteger(INT32_MAX)), "2147483647");
    EXPECT_EQ(bytesOf(formatInteger(INT32_MIN)), "-2147483648");
}

TEST(ToNumber, ReadsTheLongestDecimalPrefixOnly) {
    const ParseCase cases[] = {
        {"12abc", 12}, {"  -.5", -0.5}, {"\t\n\v\f\r 7", 7}, {"+3", 3}, {"5.", 5},
        {".5e1", 5}, {"1.5E+2", 150}, {"1d3", 1000}, {"1D-2", 0.01}, {"2e-1x", 0.2},
        {"1.2.3", 1.2}, {"3 4", 3}, {"1,5", 1},
        // an exponent marker without a digit after it is not part of the number
        {"1e", 1}, {"1e+", 1}, {"1d-x", 1}, {"7E.5", 7},
        // nothing numeric at the start
        {"", 0}, {".", 0}, {"-", 0}, {"+.e5", 0}, {"abc", 0}, {"--3", 0}, {"e5", 0},
        {"\xA0" "5", 0},
        // forms glibc's strtod would read but the old runtime did not
        {"0x1A", 0}, {"inf", 0}, {"-infinity", 0}, {"nan", 0}, {"NAN(1)", 0},
    };
    for (const ParseCase& c : cases) {
        EXPECT_EQ(toNumber(c.text), c.expected) << "text \"" << c.text << "\"";
    }
    EXPECT_EQ(toNumber(nullptr), 0);
    EXPECT_EQ(StrValue("  42 apples").toNumber(), 42);
}

TEST(ToNumber, ExtremeExponentsSaturateOrUnderflow) {
    EXPECT_EQ(toNumber("1e400"), INFINITY);
    EXPECT_EQ(toNumber("-1d99999999999999999999"), -INFINITY);
    EXPECT_EQ(toNumber("1e-400"), 0);
    EXPECT_EQ(toNumber("4.9406564584124654e-324"), std::numeric_limits<double>::denorm_min());
    EXPECT_EQ(toNumber("1.7976931348623157e308"), DBL_MAX);
}

TEST(ToNumber, FormattedNumbersReadBackWithinTenDigits) {
    for (const NumValue value : {1.0 / 3, -2.5e-7, 6.02214076e23, 1e-300, 123456.789}) {
        const NumValue readBack = toNumber(formatNumber(value).cStr());
        EXPECT_NEAR(readBack, value, std::fabs(value) * 1e-9) << "value " << value;
    }
}
