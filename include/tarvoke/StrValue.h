// StrValue: the language's text. 8-bit bytes, NUL-terminated, no encoding.
// Each value owns its buffer alone; buffers are whole multiples of 512 bytes and never shrink
// (appends grow them by at least half, so long loops of appends stay linear).
// An empty-constructed value points at the shared read-only `emptyText` and owns nothing.
// A failed allocation throws std::bad_alloc after every partly built value is released.
#pragma once
#include <cstdint>
#include "tarvoke/scalars.h"

namespace tarvoke {

extern const char emptyText[1];  // the shared empty text; never written, never freed

class StrValue {
public:
    StrValue() noexcept;                      // empty: points at emptyText, capacity 0
    StrValue(const char* text);               // copies the text (null counts as "")
    StrValue(const StrValue& other);
    StrValue(StrValue&& other) noexcept;      // takes the other's buffer; the other becomes empty
    explicit StrValue(IntValue number);       // formatInteger
    explicit StrValue(float number);          // formatNumber of the widened value
    explicit StrValue(NumValue number);       // formatNumber
    ~StrValue();

    StrValue& operator=(const char* text);
    StrValue& operator=(const StrValue& other);
    StrValue& operator=(StrValue&& other) noexcept;
    StrValue& operator=(IntValue number);
    StrValue& operator=(float number);
    StrValue& operator=(NumValue number);
    void assign(const char* text);
    void assign(const StrValue& other);

    StrValue& operator+=(const char* text);
    StrValue& operator+=(const StrValue& other);
    StrValue& operator+=(IntValue number);
    StrValue& operator+=(float number);
    StrValue& operator+=(NumValue number);
    void append(const char* text);            // writes at `length` (no scan for the end)
    void append(const StrValue& other);

    std::uint32_t length() const { return length_; }      // bytes before the NUL
    std::uint32_t capacity() const { return capacity_; }  // bytes allocated; 0 on emptyText
    const char* cStr() const;                              // never null
    int charAt(std::uint32_t index) const;                 // sign-extended byte; 0 outside the text
    void setCharAt(std::uint32_t index, int byte);         // low byte stored; length unchanged
    void truncateAt(std::uint32_t index);                  // NUL at index, then recountLength
    char* writableBuffer(std::uint32_t size);              // reserve(size); caller recounts after
    void recountLength();                                  // bytes before the first NUL, within capacity
    void reserve(std::uint32_t size);                      // room for size bytes plus the NUL

    StrValue lowerCase() const;               // ASCII A..Z to a..z only
    StrValue upperCase() const;               // ASCII a..z to A..Z only
    void trimTrailingControls();              // drops trailing bytes that read as <= 31 signed
    NumValue toNumber() const;                // the longest numeric prefix, else 0

private:
    void growFor(std::uint32_t size);  // reserve for appends: at least half the capacity again

    char* text_;              // NUL-terminated buffer, or emptyText
    std::uint32_t capacity_;  // bytes allocated for text_; 0 while text_ is emptyText
    std::uint32_t length_;    // bytes before the terminating NUL
};

// ---- Number <-> text
StrValue formatInteger(IntValue number);     // decimal, "-" before negative values
StrValue formatNumber(NumValue number);      // 10 significant digits; 1.0 gives "1"
NumValue toNumber(const char* text);         // atof of the original runtime (no hex, inf or nan)

// The same texts written straight into a buffer of numberTextRoom bytes; returns the length.
// A value formats into its own buffer with these, without a temporary.
constexpr std::uint32_t numberTextRoom = 64;
int formatIntegerInto(char* out, IntValue number);
int formatNumberInto(char* out, NumValue number);

// ---- Joining: every pairing of text, StrValue and the three number types except number+number.
StrValue concat(const char* a, const char* b);
StrValue concat(const char* a, const StrValue& b);
StrValue concat(const char* a, IntValue b);
StrValue concat(const char* a, float b);
StrValue concat(const char* a, NumValue b);
StrValue concat(const StrValue& a, const char* b);
StrValue concat(const StrValue& a, const StrValue& b);
StrValue concat(const StrValue& a, IntValue b);
StrValue concat(const StrValue& a, float b);
StrValue concat(const StrValue& a, NumValue b);
StrValue concat(IntValue a, const char* b);
StrValue concat(IntValue a, const StrValue& b);
StrValue concat(float a, const char* b);
StrValue concat(float a, const StrValue& b);
StrValue concat(NumValue a, const char* b);
StrValue concat(NumValue a, const StrValue& b);

inline StrValue operator+(const StrValue& a, const StrValue& b) { return concat(a, b); }
inline StrValue operator+(const StrValue& a, const char* b) { return concat(a, b); }
inline StrValue operator+(const char* a, const StrValue& b) { return concat(a, b); }
inline StrValue operator+(const StrValue& a, IntValue b) { return concat(a, b); }
inline StrValue operator+(const StrValue& a, float b) { return concat(a, b); }
inline StrValue operator+(const StrValue& a, NumValue b) { return concat(a, b); }
inline StrValue operator+(IntValue a, const StrValue& b) { return concat(a, b); }
inline StrValue operator+(float a, const StrValue& b) { return concat(a, b); }
inline StrValue operator+(NumValue a, const StrValue& b) { return concat(a, b); }

// ---- Searching
NumValue findText(const char* haystack, const char* needle);  // 0-based position, -1 absent, 0 for ""
NumValue findText(const StrValue& haystack, const char* needle);
NumValue findText(const char* haystack, const StrValue& needle);
NumValue findText(const StrValue& haystack, const StrValue& needle);

// ---- Comparisons; each yields the NumValue 1 (true) or 0 (false).
enum class Compare { Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual };

// Text with text: byte-wise as unsigned bytes; a prefix is less. Two StrValues are equal only
// when their lengths are equal too.
NumValue compareText(const char* a, const char* b, Compare op);
NumValue compareText(const char* a, const StrValue& b, Compare op);
NumValue compareText(const StrValue& a, const char* b, Compare op);
NumValue compareText(const StrValue& a, const StrValue& b, Compare op);

// Text with a number, either order: the text's toNumber against the number, as doubles.
// With a NaN on either side Equal gives 0, NotEqual 1 and the orderings 0.
NumValue compareTextNumber(const char* text, NumValue number, Compare op);
NumValue compareTextNumber(const StrValue& text, NumValue number, Compare op);
NumValue compareTextNumber(NumValue number, const char* text, Compare op);
NumValue compareTextNumber(NumValue number, const StrValue& text, Compare op);
// Three-way form: -1, 0 or 1 as the text's value is below, equal to or above the number;
// 1 when the two are unordered (a NaN).
int compareTextNumber(const char* text, NumValue number);
int compareTextNumber(const StrValue& text, NumValue number);

inline NumValue operator==(const StrValue& a, const StrValue& b) { return compareText(a, b, Compare::Equal); }
inline NumValue operator!=(const StrValue& a, const StrValue& b) { return compareText(a, b, Compare::NotEqual); }
inline NumValue operator<(const StrValue& a, const StrValue& b) { return compareText(a, b, Compare::Less); }
inline NumValue operator<=(const StrValue& a, const StrValue& b) { return compareText(a, b, Compare::LessEqual); }
inline NumValue operator>(const StrValue& a, const StrValue& b) { return compareText(a, b, Compare::Greater); }
inline NumValue operator>=(const StrValue& a, const StrValue& b) { return compareText(a, b, Compare::GreaterEqual); }
inline NumValue operator==(const StrValue& a, const char* b) { return compareText(a, b, Compare::Equal); }
inline NumValue operator!=(const StrValue& a, const char* b) { return compareText(a, b, Compare::NotEqual); }
inline NumValue operator<(const StrValue& a, const char* b) { return compareText(a, b, Compare::Less); }
inline NumValue operator<=(const StrValue& a, const char* b) { return compareText(a, b, Compare::LessEqual); }
inline NumValue operator>(const StrValue& a, const char* b) { return compareText(a, b, Compare::Greater); }
inline NumValue operator>=(const StrValue& a, const char* b) { return compareText(a, b, Compare::GreaterEqual); }
inline NumValue operator==(const char* a, const StrValue& b) { return compareText(a, b, Compare::Equal); }
inline NumValue operator!=(const char* a, const StrValue& b) { return compareText(a, b, Compare::NotEqual); }
inline NumValue operator<(const char* a, const StrValue& b) { return compareText(a, b, Compare::Less); }
inline NumValue operator<=(const char* a, const StrValue& b) { return compareText(a, b, Compare::LessEqual); }
inline NumValue operator>(const char* a, const StrValue& b) { return compareText(a, b, Compare::Greater); }
inline NumValue operator>=(const char* a, const StrValue& b) { return compareText(a, b, Compare::GreaterEqual); }

inline NumValue operator==(const StrValue& a, NumValue b) { return compareTextNumber(a, b, Compare::Equal); }
inline NumValue operator!=(const StrValue& a, NumValue b) { return compareTextNumber(a, b, Compare::NotEqual); }
inline NumValue operator<(const StrValue& a, NumValue b) { return compareTextNumber(a, b, Compare::Less); }
inline NumValue operator<=(const StrValue& a, NumValue b) { return compareTextNumber(a, b, Compare::LessEqual); }
inline NumValue operator>(const StrValue& a, NumValue b) { return compareTextNumber(a, b, Compare::Greater); }
inline NumValue operator>=(const StrValue& a, NumValue b) { return compareTextNumber(a, b, Compare::GreaterEqual); }
inline NumValue operator==(NumValue a, const StrValue& b) { return compareTextNumber(a, b, Compare::Equal); }
inline NumValue operator!=(NumValue a, const StrValue& b) { return compareTextNumber(a, b, Compare::NotEqual); }
inline NumValue operator<(NumValue a, const StrValue& b) { return compareTextNumber(a, b, Compare::Less); }
inline NumValue operator<=(NumValue a, const StrValue& b) { return compareTextNumber(a, b, Compare::LessEqual); }
inline NumValue operator>(NumValue a, const StrValue& b) { return compareTextNumber(a, b, Compare::Greater); }
inline NumValue operator>=(NumValue a, const StrValue& b) { return compareTextNumber(a, b, Compare::GreaterEqual); }

// Integer overloads keep `s == 0` from also matching the text pointer overloads.
inline NumValue operator==(const StrValue& a, IntValue b) { return compareTextNumber(a, NumValue(b), Compare::Equal); }
inline NumValue operator!=(const StrValue& a, IntValue b) { return compareTextNumber(a, NumValue(b), Compare::NotEqual); }
inline NumValue operator<(const StrValue& a, IntValue b) { return compareTextNumber(a, NumValue(b), Compare::Less); }
inline NumValue operator<=(const StrValue& a, IntValue b) { return compareTextNumber(a, NumValue(b), Compare::LessEqual); }
inline NumValue operator>(const StrValue& a, IntValue b) { return compareTextNumber(a, NumValue(b), Compare::Greater); }
inline NumValue operator>=(const StrValue& a, IntValue b) { return compareTextNumber(a, NumValue(b), Compare::GreaterEqual); }
inline NumValue operator==(IntValue a, const StrValue& b) { return compareTextNumber(NumValue(a), b, Compare::Equal); }
inline NumValue operator!=(IntValue a, const StrValue& b) { return compareTextNumber(NumValue(a), b, Compare::NotEqual); }
inline NumValue operator<(IntValue a, const StrValue& b) { return compareTextNumber(NumValue(a), b, Compare::Less); }
inline NumValue operator<=(IntValue a, const StrValue& b) { return compareTextNumber(NumValue(a), b, Compare::LessEqual); }
inline NumValue operator>(IntValue a, const StrValue& b) { return compareTextNumber(NumValue(a), b, Compare::Greater); }
inline NumValue operator>=(IntValue a, const StrValue& b) { return compareTextNumber(NumValue(a), b, Compare::GreaterEqual); }

} // namespace tarvoke
