// The language's scalar types and the small conversions every command uses.
// Numbers are doubles; integers truncate toward zero; a flag is set when it differs from 0.
#pragma once
#include <cstdint>

namespace tarvoke {

using NumValue = double;      // the language's number
using IntValue = std::int32_t; // 32-bit integer arguments and results

// Truncates toward zero as the x86 conversion does: NaN and values outside the 32-bit range
// give -2147483648 (the "integer indefinite" value), never undefined behaviour.
inline IntValue toInt(NumValue value) {
    if (!(value > -2147483649.0 && value < 2147483648.0)) return INT32_MIN;
    return static_cast<IntValue>(value);
}

// A flag given as a number counts as set when it differs from 0; a NaN counts as set.
inline bool isSet(NumValue flag) { return !(flag == 0.0); }

} // namespace tarvoke
