// formatNumber and formatFixed on arbitrary doubles. formatNumber: the old runtime's shapes (fixed
// form from 0.1 up to ten integer digits, else d.ddde+XXX, no trailing fraction zeros), read back
// within half a unit of the tenth digit. formatFixed: exactly C's "%*.*f" for finite values.
#include <cstdlib>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <regex>
#include <string>
#include "support/FuzzSupport.h"
#include "tarvoke/builtins.h"

namespace {

using tarvoke::fuzz::check;

void checkFormatNumber(double value) {
    const std::string text = tarvoke::formatNumber(value).cStr();
    check(tarvoke::numberTextLength(value) == double(text.size()), "numberTextLength is the text's length");
    if (!std::isfinite(value)) {
        static const std::regex spelled("^-?1\\.#(INF|IND|QNAN)$");
        check(std::regex_match(text, spelled), "a non-finite value has the runtime's spelling");
        return;
    }
    static const std::regex fixed("^-?\\d{1,10}(\\.\\d*[1-9])?$"), exponent("^-?\\d\\.(\\d*[1-9])?e[+-]\\d{3}$");
    const bool isFixed = std::regex_match(text, fixed), isExponent = std::regex_match(text, exponent);
    check(isFixed || isExponent, "formatNumber gives the fixed or the exponent shape");
    // Read back wider than a double: ten digits of the largest doubles round past their range.
    char* end = nullptr;
    const long double back = std::strtold(text.c_str(), &end);
    check(*end == '\0', "it reads back");
    check(std::fabs(back - value) <= std::fabs(value) * 5.000001e-10L, "it keeps ten significant digits");
    const long double magnitude = std::fabs(back);
    check(isFixed == (magnitude == 0.0L || (magnitude >= 0.1L && magnitude < 1e10L)), "the shape follows the magnitude");
}

void checkFormatFixed(int width, int decimals, double value) {
    if (!std::isfinite(value)) return;
    char expected[1024];
    std::snprintf(expected, sizeof expected, "%*.*f", width, decimals, value);
    check(std::strcmp(tarvoke::formatFixed(width, decimals, value).cStr(), expected) == 0, "formatFixed is %*.*f");
}

} // namespace

// The input: a double, then a field width (-128..127) and a number of decimals (0..100).
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < sizeof(double)) return 0;
    double value = 0.0;
    std::memcpy(&value, data, sizeof value);
    checkFormatNumber(value);
    const int width = size > 8 ? static_cast<std::int8_t>(data[8]) : 0;
    const int decimals = size > 9 ? data[9] % 101 : 2;
    checkFormatFixed(width, decimals, value);
    return 0;
}
