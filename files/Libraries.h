// The library cache behind loadDllFunction: every library a game bound, by its lower-case name.
#pragma once
#include <cstddef>

namespace tarvoke {

std::size_t loadedLibraryCount();  // libraries held in the cache

} // namespace tarvoke
