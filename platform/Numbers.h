// Platform contract, numbers: decimal conversion whatever the process's locale says.
#pragma once

namespace tarvoke::platform {

// The C library's decimal conversion of `text` (strtod) with "." as the decimal point, so the
// process locale's separator plays no part. Throws std::bad_alloc when no locale can be had.
double parseDecimalInCLocale(const char* text);

} // namespace tarvoke::platform
