// Arrays of up to four dimensions, dimensioned at run time; the first index varies fastest.
// Text (`TextArray`), byte (`ByteArray`) and number (`NumArray`) elements. Every access is
// checked: an index outside the array records runtime error 9 and ends the program.
#pragma once
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include "tarvoke/StrValue.h"
#include "tarvoke/scalars.h"

namespace tarvoke {

[[noreturn]] void arrayIndexError();  // records runtime error 9 and ends the program

// Sizes and strides of an array. A size of 0 for dimensions 2..4 means the dimension was not
// given: its index must then be 0.
struct ArrayShape {
    IntValue stride2 = 0, stride3 = 0, stride4 = 0;  // element distance of one step in index 2..4
    IntValue size1 = 0, size2 = 0, size3 = 0, size4 = 0;
    std::uint32_t dimensions = 0;                      // highest dimension given, 0..4
    IntValue capacity = 0;                             // elements allocated
    std::uint32_t limit2 = 1, limit3 = 1, limit4 = 1;  // indices 2..4 must be below these (1: only 0)

    // Without storage size1 is 0, so no index fits. One unsigned compare per index (a negative
    // index reads as a huge one), combined without branches: the check runs on every access.
    bool holds(IntValue i1, IntValue i2, IntValue i3, IntValue i4) const {
        return (std::uint32_t(i1) < std::uint32_t(size1)) & (std::uint32_t(i2) < limit2) &
               (std::uint32_t(i3) < limit3) & (std::uint32_t(i4) < limit4);
    }
    std::size_t offset(IntValue i1, IntValue i2, IntValue i3, IntValue i4) const {
        return std::size_t(i1) + std::size_t(i2) * std::size_t(stride2) + std::size_t(i3) * std::size_t(stride3) +
               std::size_t(i4) * std::size_t(stride4);
    }
    std::size_t elementCount() const;  // elements the sizes describe
};

// Text and byte arrays.
template <typename Element>
class ArrayValue {
public:
    ArrayValue() = default;
    ~ArrayValue() { delete[] elements_; }
    ArrayValue(const ArrayValue&) = delete;
    ArrayValue& operator=(const ArrayValue&) = delete;

    Element& operator()(IntValue i1, IntValue i2 = 0, IntValue i3 = 0, IntValue i4 = 0) {
        if (!shape_.holds(i1, i2, i3, i4)) arrayIndexError();
        return elements_[shape_.offset(i1, i2, i3, i4)];
    }
    const Element& operator()(IntValue i1, IntValue i2 = 0, IntValue i3 = 0, IntValue i4 = 0) const {
        if (!shape_.holds(i1, i2, i3, i4)) arrayIndexError();
        return elements_[shape_.offset(i1, i2, i3, i4)];
    }
    // Indices given as numbers are truncated toward zero first.
    Element& at(NumValue i1, NumValue i2 = 0, NumValue i3 = 0, NumValue i4 = 0) {
        return (*this)(toInt(i1), toInt(i2), toInt(i3), toInt(i4));
    }
    const ArrayShape& shape() const { return shape_; }

private:
    template <typename E>
    friend void dimensionArray(ArrayValue<E>& array, NumValue d1, NumValue d2, NumValue d3, NumValue d4);

    Element* elements_ = nullptr;
    ArrayShape shape_;
};

using TextArray = ArrayValue<StrValue>;
using ByteArray = ArrayValue<std::uint8_t>;

// Number arrays keep up to 16 elements in the array itself; larger ones get a block of their own.
class NumArray {
public:
    static constexpr int inlineCapacity = 16;

    NumArray() = default;
    ~NumArray() { releaseBlock(); }
    NumArray(const NumArray&) = delete;  // arrays are assigned with copyArray
    NumArray& operator=(const NumArray&) = delete;

    NumValue& operator()(IntValue i1, IntValue i2 = 0, IntValue i3 = 0, IntValue i4 = 0) {
        if (!shape_.holds(i1, i2, i3, i4)) arrayIndexError();
        return elements_[shape_.offset(i1, i2, i3, i4)];
    }
    NumValue operator()(IntValue i1, IntValue i2 = 0, IntValue i3 = 0, IntValue i4 = 0) const {
        if (!shape_.holds(i1, i2, i3, i4)) arrayIndexError();
        return elements_[shape_.offset(i1, i2, i3, i4)];
    }
    NumValue& at(NumValue i1, NumValue i2 = 0, NumValue i3 = 0, NumValue i4 = 0) {
        return (*this)(toInt(i1), toInt(i2), toInt(i3), toInt(i4));
    }
    const ArrayShape& shape() const { return shape_; }
    bool usesInlineStore() const { return elements_ == inline_; }
    const NumValue* data() const { return elements_; }

private:
    friend void dimArray(NumArray& array, NumValue d1, NumValue d2, NumValue d3, NumValue d4);
    void releaseBlock() {
        if (elements_ != inline_) delete[] elements_;
        elements_ = nullptr;
    }

    NumValue* elements_ = nullptr;
    alignas(8) NumValue inline_[inlineCapacity] = {};
    ArrayShape shape_;
};

// Dimensions an array to sizes d1..d4 (sizes not given are 0) and clears it. Storage is kept
// when it is large enough; no storage can be had: runtime error 7, the program ends.
void dimArray(TextArray& array, NumValue d1, NumValue d2 = 0, NumValue d3 = 0, NumValue d4 = 0);
void dimArray(ByteArray& array, NumValue d1, NumValue d2 = 0, NumValue d3 = 0, NumValue d4 = 0);
void dimArray(NumArray& array, NumValue d1, NumValue d2 = 0, NumValue d3 = 0, NumValue d4 = 0);
// Dimensions anew but keeps the elements whose indices fit both the old and the new sizes.
void redimArray(NumArray& array, NumValue e1, NumValue e2 = 0, NumValue e3 = 0, NumValue e4 = 0);
// Array assignment: the destination takes the source's sizes and elements.
void copyArray(NumArray& destination, const NumArray& source);
// Dimensions the array to (count) and stores the values from index 0 on.
void fillArray(NumArray& array, NumValue count, const NumValue* values);
void fillArray(NumArray& array, std::initializer_list<NumValue> values);
// Cuts the text at any of the delimiter characters; runs of delimiters give no empty tokens.
// The array is dimensioned to the tokens; the result is their number.
NumValue splitText(const StrValue& text, TextArray& tokens, const StrValue& delimiters);

} // namespace tarvoke
