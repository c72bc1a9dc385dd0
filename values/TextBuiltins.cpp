// Text built-ins: fixed-point and hex texts, character codes, slicing and replacing.
#include "tarvoke/builtins.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string_view>
#include <vector>

namespace tarvoke {

namespace {

// Bounds that keep a formatFixed text within 511 bytes: the widest finite value with 100
// decimals needs 411.
constexpr IntValue widestField = 511;
constexpr IntValue mostDecimals = 100;
constexpr std::size_t fixedTextRoom = 512;

// Slice arguments saturate here: far beyond any text length, yet start + count cannot overflow.
constexpr double sliceLimit = 9007199254740992.0;  // 2^53

// A new text of exactly `length` bytes written by `fill`, in one allocation.
template <typename Fill>
StrValue builtText(std::uint64_t length, Fill fill) {
    if (length >= UINT32_MAX) throw std::bad_alloc();
    StrValue result;
    char* out = result.writableBuffer(static_cast<std::uint32_t>(length));
    fill(out);
    out[length] = '\0';
    result.recountLength();
    return result;
}

std::string_view viewOf(const StrValue& text) { return {text.cStr(), text.length()}; }

// to_chars gives printf's "%.*f" digits without consulting the process locale.
int writeFixedDigits(char* out, NumValue value, int decimals) {
    if (!std::isfinite(value)) return formatNumberInto(out, value);
    const auto written = std::to_chars(out, out + fixedTextRoom, value, std::chars_format::fixed, decimals);
    return static_cast<int>(written.ptr - out);
}

// Right-justified in a field of `width` bytes, or left-justified when width is negative.
StrValue paddedToField(std::string_view digits, int width) {
    const std::size_t field = static_cast<std::size_t>(std::abs(width));
    const std::size_t padding = field > digits.size() ? field - digits.size() : 0;
    return builtText(digits.size() + padding, [&](char* out) {
        char* digitsAt = width < 0 ? out : out + padding;
        char* paddingAt = width < 0 ? out + digits.size() : out;
        std::memcpy(digitsAt, digits.data(), digits.size());
        std::memset(paddingAt, ' ', padding);
    });
}

std::int64_t saturatingTruncate(NumValue value) {
    if (!(value > -sliceLimit)) return static_cast<std::int64_t>(-sliceLimit);  // NaN as well
    if (value >= sliceLimit) return static_cast<std::int64_t>(sliceLimit);
    return static_cast<std::int64_t>(value);
}

// Matches never overlap: the search resumes after each one.
std::vector<std::size_t> matchPositions(std::string_view text, std::string_view search) {
    std::vector<std::size_t> positions;
    for (std::size_t at = text.find(search); at != std::string_view::npos;
         at = text.find(search, at + search.size())) {
        positions.push_back(at);
    }
    return positions;
}

} // namespace

StrValue formatFixed(NumValue width, NumValue decimals, NumValue value) {
    const int field = std::clamp(toInt(width), -widestField, widestField);
    const int places = std::clamp(toInt(decimals), 0, mostDecimals);
    char digits[fixedTextRoom];
    const int length = writeFixedDigits(digits, value, places);
    return paddedToField(std::string_view(digits, length), field);
}

StrValue hexBytes(const void* bytes, IntValue count) {
    if (count <= 0 || bytes == nullptr) return StrValue();
    static constexpr char hexDigits[] = "0123456789ABCDEF";
    const auto* in = static_cast<const unsigned char*>(bytes);
    return builtText(2 * std::uint64_t(count), [&](char* out) {
        for (IntValue i = 0; i < count; ++i) {
            *out++ = hexDigits[in[i] >> 4];
            *out++ = hexDigits[in[i] & 0x0F];
        }
    });
}

NumValue charCode(const StrValue& text) { return text.charAt(0); }

NumValue textLength(const StrValue& text) { return text.length(); }

StrValue midText(const StrValue& text, NumValue start, NumValue count) {
    const std::int64_t length = text.length();
    const std::int64_t from = saturatingTruncate(start);
    std::int64_t taken = saturatingTruncate(count);
    if (from + taken > length) taken = length - from;
    if (taken <= 0 || from > length || from < 0) return StrValue();
    return builtText(std::uint64_t(taken), [&](char* out) { std::memcpy(out, text.cStr() + from, taken); });
}

StrValue replaceText(const StrValue& text, const StrValue& search, const StrValue& replacement) {
    if (search.length() == 0) return text;
    const std::string_view source = viewOf(text);
    const std::string_view found = viewOf(search);
    const std::string_view inserted = viewOf(replacement);
    const std::vector<std::size_t> positions = matchPositions(source, found);
    const std::uint64_t length = source.size() - positions.size() * found.size() +
                                 std::uint64_t(positions.size()) * inserted.size();
    return builtText(length, [&](char* out) {
        std::size_t copiedUpTo = 0;
        for (std::size_t at : positions) {
            out = std::copy(source.begin() + copiedUpTo, source.begin() + at, out);
            out = std::copy(inserted.begin(), inserted.end(), out);
            copiedUpTo = at + found.size();
        }
        std::copy(source.begin() + copiedUpTo, source.end(), out);
    });
}

StrValue charFromCode(NumValue code) {
    const IntValue whole = toInt(code);
    const char byte = static_cast<char>(whole & 0xFF);
    if (whole < -32768 || whole > 32767 || byte == '\0') return StrValue();
    const char text[2] = {byte, '\0'};
    return StrValue(text);
}

NumValue numberTextLength(NumValue value) {
    char digits[numberTextRoom];
    return formatNumberInto(digits, value);
}

} // namespace tarvoke
