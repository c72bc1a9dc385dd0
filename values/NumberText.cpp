// Numbers to text and back, matching the texts and parsing of the old Microsoft C runtime
// that compiled games were written against (its _gcvt with 10 digits, and its atof).
#include "tarvoke/StrValue.h"
#include "platform/Numbers.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace tarvoke {

namespace {

constexpr int significantDigits = 10;

// The value rounded to 10 significant digits, read as d0.d1...d9 x 10^exponent.
struct RoundedDecimal {
    bool negative;
    char digits[significantDigits];
    int exponent;
};

constexpr int intermediateDigits = 17;  // what the runtime's conversion produced first

// The runtime first wrote the value with 17 correctly rounded digits, then rounded that digit
// string at the 10th digit, half away from zero (an 11th digit of 5 or more rounds up), with a
// carry into the exponent (9.99999999999 gives 1.0e+01).
RoundedDecimal roundToSignificantDigits(NumValue number) {
    char scientific[48];
    std::snprintf(scientific, sizeof scientific, "%.*e", intermediateDigits - 1, number);
    RoundedDecimal decimal{};
    decimal.negative = scientific[0] == '-';
    char digits[intermediateDigits];
    const char* cursor = scientific;
    for (int count = 0; count < intermediateDigits; ++cursor) {
        if (*cursor >= '0' && *cursor <= '9') digits[count++] = *cursor;
    }
    decimal.exponent = std::atoi(std::strchr(cursor, 'e') + 1);
    std::memcpy(decimal.digits, digits, significantDigits);
    if (digits[significantDigits] >= '5') {
        int position = significantDigits - 1;
        while (position >= 0 && decimal.digits[position] == '9') decimal.digits[position--] = '0';
        if (position >= 0) {
            ++decimal.digits[position];
        } else {
            decimal.digits[0] = '1';
            ++decimal.exponent;
        }
    }
    return decimal;
}

// Drops zeros at the end of a fraction; the "." itself stays, as _gcvt left it.
char* dropTrailingZeros(char* fractionStart, char* end) {
    while (end > fractionStart && end[-1] == '0') --end;
    return end;
}

char* writeExponentForm(char* out, const RoundedDecimal& decimal) {
    *out++ = decimal.digits[0];
    *out++ = '.';
    char* fraction = out;
    std::memcpy(out, decimal.digits + 1, significantDigits - 1);
    out = dropTrailingZeros(fraction, out + significantDigits - 1);
    const char sign = decimal.exponent < 0 ? '-' : '+';
    return out + std::sprintf(out, "e%c%03d", sign, std::abs(decimal.exponent));
}

char* writeFixedForm(char* out, const RoundedDecimal& decimal) {
    const int integerDigits = decimal.exponent + 1;  // 0..10 in this form
    if (integerDigits == 0) *out++ = '0';
    std::memcpy(out, decimal.digits, integerDigits);
    out += integerDigits;
    *out++ = '.';
    char* fraction = out;
    std::memcpy(out, decimal.digits + integerDigits, significantDigits - integerDigits);
    return dropTrailingZeros(fraction, out + significantDigits - integerDigits);
}

// The two mends the runtime's number-to-text applied after _gcvt.
int applyRuntimeFixes(char* text, int length) {
    if (length == 2 && text[0] == '.' && text[1] == '0') {
        std::strcpy(text, "0");
        return 1;
    }
    if (length > 0 && text[length - 1] == '.') text[--length] = '\0';
    return length;
}

// The old runtime's spellings; the x86 default NaN has its sign bit set and reads "-1.#IND".
int writeNonFinite(char* out, NumValue number) {
    const char* text = std::isnan(number) ? (std::signbit(number) ? "-1.#IND" : "1.#QNAN")
                                          : (number < 0 ? "-1.#INF" : "1.#INF");
    std::strcpy(out, text);
    return static_cast<int>(std::strlen(text));
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool isExponentMarker(char c) { return c == 'e' || c == 'E' || c == 'd' || c == 'D'; }
bool isSign(char c) { return c == '+' || c == '-'; }

const char* skipDigits(const char* cursor) {
    while (isDigit(*cursor)) ++cursor;
    return cursor;
}

// An exponent counts only when a digit follows its marker and optional sign ("1e+" reads as 1).
const char* skipExponent(const char* cursor) {
    if (!isExponentMarker(*cursor)) return cursor;
    const char* digits = cursor + 1;
    if (isSign(*digits)) ++digits;
    return isDigit(*digits) ? skipDigits(digits) : cursor;
}

// The end of the longest prefix the runtime's atof accepts: no hex, no inf, no nan.
const char* numericPrefixEnd(const char* start) {
    const char* cursor = start;
    if (isSign(*cursor)) ++cursor;
    const char* integerEnd = skipDigits(cursor);
    bool hasDigits = integerEnd != cursor;
    cursor = integerEnd;
    if (*cursor == '.') {
        const char* fractionEnd = skipDigits(cursor + 1);
        hasDigits = hasDigits || fractionEnd != cursor + 1;
        cursor = fractionEnd;
    }
    return hasDigits ? skipExponent(cursor) : start;
}

} // namespace

int formatIntegerInto(char* out, IntValue number) {
    return std::snprintf(out, numberTextRoom, "%d", static_cast<int>(number));
}

int formatNumberInto(char* out, NumValue number) {
    if (!std::isfinite(number)) return writeNonFinite(out, number);
    const RoundedDecimal decimal = roundToSignificantDigits(number);
    char* cursor = out;
    if (decimal.negative) *cursor++ = '-';
    const bool exponentForm = decimal.exponent < -1 || decimal.exponent > significantDigits - 1;
    cursor = exponentForm ? writeExponentForm(cursor, decimal) : writeFixedForm(cursor, decimal);
    *cursor = '\0';
    return applyRuntimeFixes(out, static_cast<int>(cursor - out));
}

StrValue formatInteger(IntValue number) { return StrValue(number); }
StrValue formatNumber(NumValue number) { return StrValue(number); }

NumValue toNumber(const char* text) {
    if (text == nullptr) return 0.0;
    while (isSpace(*text)) ++text;
    const char* end = numericPrefixEnd(text);
    if (end == text) return 0.0;
    std::string prefix(text, end);
    for (char& c : prefix) {
        if (c == 'd' || c == 'D') c = 'e';
    }
    return platform::parseDecimalInCLocale(prefix.c_str());
}

NumValue StrValue::toNumber() const { return tarvoke::toNumber(cStr()); }

} // namespace tarvoke
