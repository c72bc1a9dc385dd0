// Number and text built-ins: fixed-point and hex texts, slicing and replacing text, trigonometry
// in degrees, integer helpers, the random generator and the program's DATA lists.
#pragma once
#include "tarvoke/StrValue.h"

namespace tarvoke {

// ---------------------------------------------------------------- text
StrValue formatFixed(NumValue width, NumValue decimals, NumValue value);  // "%W.Df"; W in -511..511, D in 0..100
StrValue hexBytes(const void* bytes, IntValue count);              // two upper-case digits a byte, in memory order
NumValue charCode(const StrValue& text);                           // first byte as -128..127; 0 for ""
NumValue textLength(const StrValue& text);                         // bytes before the NUL
StrValue midText(const StrValue& text, NumValue start, NumValue count);  // up to count bytes from 0-based start
StrValue replaceText(const StrValue& text, const StrValue& search, const StrValue& replacement);  // every match, left to right
StrValue charFromCode(NumValue code);                              // one byte from the low 8 bits; "" for 0
NumValue numberTextLength(NumValue value);                         // length of formatNumber(value)

// ---------------------------------------------------------------- arithmetic
NumValue sinDeg(NumValue angle);                                   // angle in degrees
NumValue cosDeg(NumValue angle);                                   // angle in degrees
NumValue tanDeg(NumValue angle);                                   // angle in degrees
NumValue asinDeg(NumValue x);                                      // degrees; 90 from x >= 1, -90 from x <= -1
NumValue acosDeg(NumValue x);                                      // degrees; 0 from x >= 1, 180 from x <= -1
NumValue atanDeg(NumValue y, NumValue x);                          // degrees of atan2(y, x), -180..180
NumValue squareRoot(NumValue x);                                   // NaN for negative x
NumValue absValue(NumValue x);                                     // |x|
NumValue power(NumValue x, NumValue y);                            // x to the y
NumValue modulo(NumValue a, NumValue b);                           // truncated a mod truncated b, sign of a; 0 for b 0
NumValue boxesOverlap(NumValue x1, NumValue y1, NumValue w1, NumValue h1,
                      NumValue x2, NumValue y2, NumValue w2, NumValue h2);  // 1 when the boxes meet or touch

// ---------------------------------------------------------------- random numbers
NumValue randomInt(NumValue n);                                    // 0..n truncated; 0 for n <= 0
void seedRandom(IntValue seed);                                    // the same seed repeats the same sequence

// ---------------------------------------------------------------- DATA lists
struct DataItem {
    NumValue number;   // the value of a number item
    const char* text;  // the value of a text item; null for a number item
};

struct DataList {
    const DataItem* items;
    IntValue count;
    IntValue readIndex;  // the item the next read takes
};

void restoreData(DataList& list);                                  // makes the list current from its first item
StrValue readDataText();                                           // next item as text; error 20 past the end
NumValue readDataNumber();                                         // next item as a number; error 20 past the end

} // namespace tarvoke
