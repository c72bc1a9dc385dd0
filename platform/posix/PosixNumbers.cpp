// Locale-independent decimal conversion on POSIX.
#include <locale.h>
#include <cstdlib>
#include <new>
#include "platform/Numbers.h"

namespace tarvoke::platform {

// glibc hands out its built-in C locale object here, so this costs no allocation.
double parseDecimalInCLocale(const char* text) {
    locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(0));
    if (cLocale == locale_t(0)) throw std::bad_alloc();
    const double value = strtod_l(text, nullptr, cLocale);
    freelocale(cLocale);
    return value;
}

} // namespace tarvoke::platform
