// toNumber on arbitrary text against a reference: the longest prefix of optional white space,
// sign, digits with an optional point, and an exponent (e, E, d or D) that has digits, read by
// the standard library's locale-independent parser; 0 when there is no such prefix.
#include <charconv>
#include <cmath>
#include <regex>
#include <string>
#include "support/FuzzSupport.h"
#include "tarvoke/StrValue.h"

namespace {

double referenceValue(const std::string& text) {
    static const std::regex number(R"(^[ \t\n\v\f\r]*([+-]?(\d+\.?\d*|\.\d+)([eEdD][+-]?\d+)?))");
    std::smatch found;
    if (!std::regex_search(text, found, number)) return 0.0;
    std::string prefix = found[1].str();
    for (char& c : prefix)
        if (c == 'd' || c == 'D' || c == 'E') c = 'e';
    const char* start = prefix.c_str() + (prefix[0] == '+');
    double value = 0.0;
    const auto parsed = std::from_chars(start, prefix.c_str() + prefix.size(), value);
    if (parsed.ec == std::errc::result_out_of_range) {
        // from_chars leaves the value alone then; strtod's answers: an infinity or a zero.
        const bool tiny = prefix.find_first_of("123456789") == std::string::npos || prefix.find("e-") != std::string::npos;
        value = tiny ? 0.0 : HUGE_VAL;
        if (prefix[0] == '-') value = -value;
    }
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 256) return 0;  // the reference's regex takes quadratic time on long digit runs
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string untilNul = text.substr(0, text.find('\0'));
    const double value = tarvoke::toNumber(untilNul.c_str());
    const double expected = referenceValue(untilNul);
    tarvoke::fuzz::check(value == expected || (std::isnan(value) && std::isnan(expected)), "toNumber matches the reference");
    tarvoke::fuzz::check(std::signbit(value) == std::signbit(expected), "toNumber keeps the sign of zero");
    tarvoke::fuzz::check(tarvoke::StrValue(untilNul.c_str()).toNumber() == value || std::isnan(value),
                         "a StrValue reads as its text does");
    return 0;
}
