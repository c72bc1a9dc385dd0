// Arithmetic built-ins: trigonometry in degrees, roots and powers, integer modulo, box overlap.
#include "tarvoke/builtins.h"

#include <cmath>

namespace tarvoke {

namespace {

// The original's own constants; cosDeg(180) and sinDeg(90) come out exactly -1 and 1 with them.
constexpr double radiansPerDegree = 0.017453292519943295;
constexpr double degreesPerRadian = 57.29577951308232;

NumValue truth(bool condition) { return condition ? 1.0 : 0.0; }

double lowerEnd(double position, double size) { return size < 0 ? position + size : position; }
double upperEnd(double position, double size) { return size < 0 ? position : position + size; }

// Closed intervals, so touching ends meet. Written as two comparisons so that a NaN anywhere
// gives false instead of being skipped over by min and max.
bool intervalsMeet(double a, double aSize, double b, double bSize) {
    return lowerEnd(a, aSize) <= upperEnd(b, bSize) && lowerEnd(b, bSize) <= upperEnd(a, aSize);
}

} // namespace

NumValue sinDeg(NumValue angle) { return std::sin(angle * radiansPerDegree); }
NumValue cosDeg(NumValue angle) { return std::cos(angle * radiansPerDegree); }
NumValue tanDeg(NumValue angle) { return std::tan(angle * radiansPerDegree); }

// Arguments beyond +-1 give the end of the range rather than NaN.
NumValue asinDeg(NumValue x) {
    if (x >= 1) return 90;
    if (x <= -1) return -90;
    return std::asin(x) * degreesPerRadian;
}

NumValue acosDeg(NumValue x) {
    if (x >= 1) return 0;
    if (x <= -1) return 180;
    return std::acos(x) * degreesPerRadian;
}

NumValue atanDeg(NumValue y, NumValue x) { return std::atan2(y, x) * degreesPerRadian; }

NumValue squareRoot(NumValue x) { return std::sqrt(x); }
NumValue absValue(NumValue x) { return std::fabs(x); }
NumValue power(NumValue x, NumValue y) { return std::pow(x, y); }

// A divisor of -1 is answered without dividing: -2147483648 % -1 traps on x86.
NumValue modulo(NumValue a, NumValue b) {
    const IntValue divisor = toInt(b);
    if (divisor == 0 || divisor == -1) return 0;
    return toInt(a) % divisor;
}

NumValue boxesOverlap(NumValue x1, NumValue y1, NumValue w1, NumValue h1,
                      NumValue x2, NumValue y2, NumValue w2, NumValue h2) {
    return truth(intervalsMeet(x1, w1, x2, w2) && intervalsMeet(y1, h1, y2, h2));
}

} // namespace tarvoke
