// Dimensioning arrays, their number-array operations, and splitting texts into arrays.
#include "tarvoke/arrays.h"
#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <string>
#include <vector>
#include "tarvoke/core.h"

namespace tarvoke {
namespace {

constexpr IntValue textGrowth = 64;   // text and byte arrays grow in steps of 64 elements
constexpr IntValue numberGrowth = 8;  // number arrays in steps of 8

[[noreturn]] void storageError() {
    recordError(7);
    endProgram();
}

// The sizes as given and as counted: the first size counts 0 below 1, the others count 1.
struct Dimensioning {
    IntValue sizes[4] = {0, 0, 0, 0};     // stored: 0 where a size is below 1 (not given)
    std::int64_t counted[4] = {0, 1, 1, 1};
    std::int64_t elements = 0;
};

// Sizes of 2^31 or more cannot be held: storage for them cannot be had.
Dimensioning dimensioning(NumValue d1, NumValue d2, NumValue d3, NumValue d4) {
    Dimensioning result;
    const NumValue given[4] = {d1, d2, d3, d4};
    for (int k = 0; k < 4; ++k) {
        if (!(given[k] >= 1)) continue;  // below 1, or NaN
        if (given[k] >= 2147483648.0) storageError();
        result.sizes[k] = IntValue(given[k]);
        result.counted[k] = result.sizes[k];
    }
    result.elements = result.counted[0] * result.counted[1] * result.counted[2] * result.counted[3];
    if (result.elements > 0x7FFFFFF0) storageError();
    return result;
}

IntValue capacityFor(std::int64_t elements, IntValue growth) { return IntValue(elements / growth * growth + growth); }

// Strides follow the counted sizes, so a size of 0 between given ones (5, 0, 3) still gives
// every element a place of its own.
void storeShape(ArrayShape& shape, const Dimensioning& d) {
    shape.size1 = d.sizes[0];
    shape.size2 = d.sizes[1];
    shape.size3 = d.sizes[2];
    shape.size4 = d.sizes[3];
    shape.stride2 = IntValue(d.counted[0]);
    shape.stride3 = IntValue(d.counted[0] * d.counted[1]);
    shape.stride4 = IntValue(d.counted[0] * d.counted[1] * d.counted[2]);
    shape.dimensions = d.sizes[3] ? 4 : d.sizes[2] ? 3 : d.sizes[1] ? 2 : d.sizes[0] ? 1 : 0;
    shape.limit2 = std::uint32_t(d.counted[1]);
    shape.limit3 = std::uint32_t(d.counted[2]);
    shape.limit4 = std::uint32_t(d.counted[3]);
}

void clearElements(StrValue* elements, IntValue count) {
    for (IntValue i = 0; i < count; ++i) elements[i].truncateAt(0);  // buffers stay allocated
}
void clearElements(std::uint8_t* elements, IntValue count) { std::memset(elements, 0, std::size_t(count)); }

} // namespace

std::size_t ArrayShape::elementCount() const {
    if (size1 <= 0) return 0;
    return std::size_t(size1) * std::size_t(std::max(size2, 1)) * std::size_t(std::max(size3, 1)) *
           std::size_t(std::max(size4, 1));
}

void arrayIndexError() {
    recordError(9);
    endProgram();
}

template <typename Element>
void dimensionArray(ArrayValue<Element>& array, NumValue d1, NumValue d2, NumValue d3, NumValue d4) {
    const Dimensioning d = dimensioning(d1, d2, d3, d4);
    const IntValue needed = capacityFor(d.elements, textGrowth);
    if (array.shape_.capacity < needed || d.counted[0] == 0) {
        delete[] array.elements_;  // destroys every text element
        array.elements_ = nullptr;
        array.shape_.capacity = 0;
        try {
            array.elements_ = new Element[std::size_t(needed)]();
        } catch (const std::bad_alloc&) {
            storageError();
        }
        array.shape_.capacity = needed;
    } else {
        clearElements(array.elements_, array.shape_.capacity);
    }
    storeShape(array.shape_, d);
}

void dimArray(TextArray& array, NumValue d1, NumValue d2, NumValue d3, NumValue d4) {
    dimensionArray(array, d1, d2, d3, d4);
}

void dimArray(ByteArray& array, NumValue d1, NumValue d2, NumValue d3, NumValue d4) {
    dimensionArray(array, d1, d2, d3, d4);
}

void dimArray(NumArray& array, NumValue d1, NumValue d2, NumValue d3, NumValue d4) {
    const Dimensioning d = dimensioning(d1, d2, d3, d4);
    const IntValue needed = capacityFor(d.elements, numberGrowth);
    if (array.shape_.capacity < needed || d.counted[0] == 0) {
        array.releaseBlock();
        array.shape_.capacity = 0;
        if (needed <= NumArray::inlineCapacity) {
            array.elements_ = array.inline_;
        } else {
            try {
                array.elements_ = new NumValue[std::size_t(needed)];
            } catch (const std::bad_alloc&) {
                storageError();
            }
        }
        array.shape_.capacity = needed;
    }
    std::fill(array.elements_, array.elements_ + array.shape_.capacity, 0.0);
    storeShape(array.shape_, d);
}

void copyArray(NumArray& destination, const NumArray& source) {
    if (&destination == &source) return;  // dimensioning would clear the source first
    const ArrayShape& from = source.shape();
    dimArray(destination, from.size1, from.size2, from.size3, from.size4);
    const std::size_t count = from.elementCount();
    if (count > 0) std::copy(source.data(), source.data() + count, &destination(0));
}

void redimArray(NumArray& array, NumValue e1, NumValue e2, NumValue e3, NumValue e4) {
    NumArray resized;
    dimArray(resized, e1, e2, e3, e4);
    const ArrayShape& oldShape = array.shape();
    const ArrayShape& newShape = resized.shape();
    if (oldShape.dimensions >= 1 && newShape.size1 > 0) {
        // A dimension whose kept range is 0 is absent: only its index 0 is used.
        const IntValue keep[4] = {std::min(oldShape.size1, newShape.size1), std::max(std::min(oldShape.size2, newShape.size2), 1),
                                  std::max(std::min(oldShape.size3, newShape.size3), 1), std::max(std::min(oldShape.size4, newShape.size4), 1)};
        for (IntValue i4 = 0; i4 < keep[3]; ++i4)
            for (IntValue i3 = 0; i3 < keep[2]; ++i3)
                for (IntValue i2 = 0; i2 < keep[1]; ++i2)
                    for (IntValue i1 = 0; i1 < keep[0]; ++i1) resized(i1, i2, i3, i4) = array(i1, i2, i3, i4);
    }
    copyArray(array, resized);
}

void fillArray(NumArray& array, NumValue count, const NumValue* values) {
    dimArray(array, count);
    const IntValue m = array.shape().size1;
    for (IntValue i = 0; i < m; ++i) array(i) = values[i];
}

void fillArray(NumArray& array, std::initializer_list<NumValue> values) {
    fillArray(array, NumValue(values.size()), values.begin());
}

NumValue splitText(const StrValue& text, TextArray& tokens, const StrValue& delimiters) {
    const std::string source(text.cStr(), text.length());
    const std::string cut(delimiters.cStr(), delimiters.length());
    std::vector<std::string> found;
    std::size_t start = source.find_first_not_of(cut);
    while (start != std::string::npos) {
        const std::size_t end = source.find_first_of(cut, start);
        found.push_back(source.substr(start, end == std::string::npos ? std::string::npos : end - start));
        start = end == std::string::npos ? end : source.find_first_not_of(cut, end);
    }
    dimArray(tokens, NumValue(found.size()));
    for (std::size_t i = 0; i < found.size(); ++i) tokens(IntValue(i)) = found[i].c_str();
    return NumValue(found.size());
}

} // namespace tarvoke
