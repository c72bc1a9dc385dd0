// StrValue: owned, NUL-terminated 8-bit text that grows in 512-byte steps.
#include "tarvoke/StrValue.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <new>
#include <utility>

namespace tarvoke {

const char emptyText[1] = {'\0'};

namespace {

constexpr std::uint64_t growthStep = 512;

// Only the empty state points here, and every write is guarded by a non-zero capacity or
// length, so the cast never leads to a write into read-only memory.
char* sharedEmptyText() { return const_cast<char*>(emptyText); }

const char* textOrEmpty(const char* text) { return text ? text : emptyText; }

// Lengths are 32-bit; a longer text must fail like any allocation rather than wrap around.
std::uint32_t checkedLength(std::uint64_t length) {
    if (length > UINT32_MAX) throw std::bad_alloc();
    return static_cast<std::uint32_t>(length);
}

// std::less gives a total order even for pointers into unrelated arrays.
bool pointsInto(const char* pointer, const char* buffer, std::uint32_t size) {
    std::less<const char*> before;
    return !before(pointer, buffer) && before(pointer, buffer + size);
}

template <typename Left, typename Right>
StrValue joined(const Left& left, const Right& right) {
    StrValue result(left);
    result += right;
    return result;
}

StrValue withLettersShifted(StrValue text, char first, char last, int shift) {
    for (std::uint32_t i = 0; i < text.length(); ++i) {
        const int byte = text.charAt(i);
        if (byte >= first && byte <= last) text.setCharAt(i, byte + shift);
    }
    return text;
}

NumValue truth(bool condition) { return condition ? 1.0 : 0.0; }

// Comparisons written so that a NaN makes every ordering and Equal false and NotEqual true.
NumValue compareNumbers(double a, double b, Compare op) {
    switch (op) {
        case Compare::Equal: return truth(a == b);
        case Compare::NotEqual: return truth(!(a == b));
        case Compare::Less: return truth(a < b);
        case Compare::LessEqual: return truth(a <= b);
        case Compare::Greater: return truth(a > b);
        case Compare::GreaterEqual: return truth(a >= b);
    }
    return 0.0;
}

int threeWay(double a, double b) {
    if (a < b) return -1;
    if (a == b) return 0;
    return 1;
}

} // namespace

// ---------------------------------------------------------------- life cycle

StrValue::StrValue() noexcept : text_(sharedEmptyText()), capacity_(0), length_(0) {}
StrValue::StrValue(const char* text) : StrValue() { assign(text); }
StrValue::StrValue(const StrValue& other) : StrValue() { assign(other); }
StrValue::StrValue(IntValue number) : StrValue() { *this = number; }
StrValue::StrValue(float number) : StrValue() { *this = number; }
StrValue::StrValue(NumValue number) : StrValue() { *this = number; }

StrValue::StrValue(StrValue&& other) noexcept
    : text_(std::exchange(other.text_, sharedEmptyText())),
      capacity_(std::exchange(other.capacity_, 0u)),
      length_(std::exchange(other.length_, 0u)) {}

StrValue::~StrValue() {
    if (capacity_ != 0) delete[] text_;
    text_ = nullptr;
    capacity_ = 0;
    length_ = 0;
}

StrValue& StrValue::operator=(StrValue&& other) noexcept {
    if (this == &other) return *this;
    if (capacity_ != 0) delete[] text_;
    text_ = std::exchange(other.text_, sharedEmptyText());
    capacity_ = std::exchange(other.capacity_, 0u);
    length_ = std::exchange(other.length_, 0u);
    return *this;
}

void StrValue::reserve(std::uint32_t size) {
    if (capacity_ > size) return;
    const std::uint64_t newCapacity = size / growthStep * growthStep + growthStep;
    if (newCapacity > UINT32_MAX) throw std::bad_alloc();
    char* buffer = new char[newCapacity];
    // Copied by length, not up to the first NUL: a value may hold bytes after an early NUL.
    // emptyText's single NUL byte copies like any other text of length 0.
    std::memcpy(buffer, text_, length_ + 1);
    // Bytes past the text are zeroed so charAt and recountLength never read indeterminate memory.
    std::memset(buffer + length_ + 1, 0, newCapacity - length_ - 1);
    if (capacity_ != 0) delete[] text_;
    text_ = buffer;
    capacity_ = static_cast<std::uint32_t>(newCapacity);
}

// Appends grow the buffer by at least half its size (still in 512-byte steps): with fixed
// steps a long loop of appends would copy the whole text again every 512 bytes.
void StrValue::growFor(std::uint32_t size) {
    if (capacity_ > size) return;
    // reserve gives the smallest multiple of 512 above its argument: one below 1.5 x the capacity
    // yields that size rounded up to 512.
    const std::uint64_t geometric = std::uint64_t(capacity_) + capacity_ / 2;
    const std::uint64_t target = std::max<std::uint64_t>(size, geometric > 0 ? geometric - 1 : 0);
    reserve(std::uint32_t(std::min<std::uint64_t>(target, UINT32_MAX - growthStep)));
}

// ---------------------------------------------------------------- assignment

StrValue& StrValue::operator=(const char* text) { assign(text); return *this; }
StrValue& StrValue::operator=(const StrValue& other) { assign(other); return *this; }
StrValue& StrValue::operator=(float number) { return *this = NumValue(number); }

StrValue& StrValue::operator=(IntValue number) {
    reserve(numberTextRoom);
    length_ = static_cast<std::uint32_t>(formatIntegerInto(text_, number));
    return *this;
}

StrValue& StrValue::operator=(NumValue number) {
    reserve(numberTextRoom);
    length_ = static_cast<std::uint32_t>(formatNumberInto(text_, number));
    return *this;
}

void StrValue::assign(const char* text) {
    text = textOrEmpty(text);
    const std::uint32_t newLength = checkedLength(std::strlen(text));
    // A text inside this buffer is shorter than the capacity, so reserve leaves it in place.
    reserve(newLength);
    std::memmove(text_, text, newLength);
    text_[newLength] = '\0';
    length_ = newLength;
}

void StrValue::assign(const StrValue& other) {
    const std::uint32_t newLength = other.length_;
    reserve(newLength);
    // other.text_ is read after reserve: on self-assignment it is this value's new buffer.
    std::memmove(text_, other.text_, newLength);
    text_[newLength] = '\0';
    length_ = newLength;
}

// ---------------------------------------------------------------- appending

StrValue& StrValue::operator+=(const char* text) { append(text); return *this; }
StrValue& StrValue::operator+=(const StrValue& other) { append(other); return *this; }
StrValue& StrValue::operator+=(IntValue number) { append(StrValue(number)); return *this; }
StrValue& StrValue::operator+=(float number) { append(StrValue(number)); return *this; }
StrValue& StrValue::operator+=(NumValue number) { append(StrValue(number)); return *this; }

// Writes at length_ instead of scanning for the end, so a loop of appends costs linear time.
void StrValue::append(const char* text) {
    text = textOrEmpty(text);
    const std::size_t added = std::strlen(text);
    const std::uint32_t newLength = checkedLength(std::uint64_t(length_) + added);
    const bool ownText = pointsInto(text, text_, capacity_);
    const std::size_t ownOffset = ownText ? std::size_t(text - text_) : 0;
    growFor(newLength);
    const char* source = ownText ? text_ + ownOffset : text;
    std::memmove(text_ + length_, source, added);
    text_[newLength] = '\0';
    length_ = newLength;
}

void StrValue::append(const StrValue& other) {
    const std::uint32_t added = other.length_;
    const std::uint32_t newLength = checkedLength(std::uint64_t(length_) + added);
    growFor(newLength);
    // other.text_ is read after growing: when appending to itself it is the new buffer.
    std::memmove(text_ + length_, other.text_, added);
    text_[newLength] = '\0';
    length_ = newLength;
}

// ---------------------------------------------------------------- bytes

const char* StrValue::cStr() const { return length_ == 0 ? emptyText : text_; }

int StrValue::charAt(std::uint32_t index) const {
    if (length_ == 0 || index >= capacity_) return 0;
    return static_cast<signed char>(text_[index]);
}

// Only inside the text: past it lies the terminator, or emptyText on the empty value.
void StrValue::setCharAt(std::uint32_t index, int byte) {
    if (index < length_) text_[index] = static_cast<char>(static_cast<unsigned char>(byte));
}

void StrValue::truncateAt(std::uint32_t index) {
    if (capacity_ == 0 || index >= capacity_) return;
    text_[index] = '\0';
    recountLength();
}

char* StrValue::writableBuffer(std::uint32_t size) {
    reserve(size);
    return text_;
}

void StrValue::recountLength() {
    if (capacity_ == 0) {
        length_ = 0;
        return;
    }
    const void* end = std::memchr(text_, '\0', capacity_);
    if (end == nullptr) {
        // The caller overran every byte; cut the last one so the terminator invariant holds.
        text_[capacity_ - 1] = '\0';
        length_ = capacity_ - 1;
        return;
    }
    length_ = static_cast<std::uint32_t>(static_cast<const char*>(end) - text_);
}

StrValue StrValue::lowerCase() const { return withLettersShifted(*this, 'A', 'Z', 'a' - 'A'); }
StrValue StrValue::upperCase() const { return withLettersShifted(*this, 'a', 'z', 'A' - 'a'); }

// Read as signed, bytes 128..255 count as controls too: the old runtime trimmed them alike.
void StrValue::trimTrailingControls() {
    while (length_ > 0 && static_cast<signed char>(text_[length_ - 1]) <= 31) {
        --length_;
        text_[length_] = '\0';
    }
}

// ---------------------------------------------------------------- joining

StrValue concat(const char* a, const char* b) { return joined(a, b); }
StrValue concat(const char* a, const StrValue& b) { return joined(a, b); }
StrValue concat(const char* a, IntValue b) { return joined(a, b); }
StrValue concat(const char* a, float b) { return joined(a, b); }
StrValue concat(const char* a, NumValue b) { return joined(a, b); }
StrValue concat(const StrValue& a, const char* b) { return joined(a, b); }
StrValue concat(const StrValue& a, const StrValue& b) { return joined(a, b); }
StrValue concat(const StrValue& a, IntValue b) { return joined(a, b); }
StrValue concat(const StrValue& a, float b) { return joined(a, b); }
StrValue concat(const StrValue& a, NumValue b) { return joined(a, b); }
StrValue concat(IntValue a, const char* b) { return joined(a, b); }
StrValue concat(IntValue a, const StrValue& b) { return joined(a, b); }
StrValue concat(float a, const char* b) { return joined(a, b); }
StrValue concat(float a, const StrValue& b) { return joined(a, b); }
StrValue concat(NumValue a, const char* b) { return joined(a, b); }
StrValue concat(NumValue a, const StrValue& b) { return joined(a, b); }

// ---------------------------------------------------------------- searching

NumValue findText(const char* haystack, const char* needle) {
    haystack = textOrEmpty(haystack);
    const char* found = std::strstr(haystack, textOrEmpty(needle));
    return found ? NumValue(found - haystack) : -1.0;
}
NumValue findText(const StrValue& haystack, const char* needle) { return findText(haystack.cStr(), needle); }
NumValue findText(const char* haystack, const StrValue& needle) { return findText(haystack, needle.cStr()); }
NumValue findText(const StrValue& haystack, const StrValue& needle) {
    return findText(haystack.cStr(), needle.cStr());
}

// ---------------------------------------------------------------- comparing

// strcmp orders by unsigned bytes, so 0xE9 sorts above 'z'.
NumValue compareText(const char* a, const char* b, Compare op) {
    return compareNumbers(std::strcmp(textOrEmpty(a), textOrEmpty(b)), 0, op);
}
NumValue compareText(const char* a, const StrValue& b, Compare op) { return compareText(a, b.cStr(), op); }
NumValue compareText(const StrValue& a, const char* b, Compare op) { return compareText(a.cStr(), b, op); }

// Two values with different lengths differ even when their bytes up to the first NUL match.
NumValue compareText(const StrValue& a, const StrValue& b, Compare op) {
    const bool equality = op == Compare::Equal || op == Compare::NotEqual;
    if (equality && a.length() != b.length()) return truth(op == Compare::NotEqual);
    return compareText(a.cStr(), b.cStr(), op);
}

NumValue compareTextNumber(const char* text, NumValue number, Compare op) {
    return compareNumbers(toNumber(text), number, op);
}
NumValue compareTextNumber(const StrValue& text, NumValue number, Compare op) {
    return compareNumbers(text.toNumber(), number, op);
}
NumValue compareTextNumber(NumValue number, const char* text, Compare op) {
    return compareNumbers(number, toNumber(text), op);
}
NumValue compareTextNumber(NumValue number, const StrValue& text, Compare op) {
    return compareNumbers(number, text.toNumber(), op);
}

int compareTextNumber(const char* text, NumValue number) { return threeWay(toNumber(text), number); }
int compareTextNumber(const StrValue& text, NumValue number) { return threeWay(text.toNumber(), number); }

} // namespace tarvoke
