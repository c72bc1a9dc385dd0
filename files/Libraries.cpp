// Functions of dynamic libraries, bound by name. Each library is loaded once and stays loaded
// until the program ends.
#include "files/Libraries.h"
#include <string>
#include <vector>
#include "files/Files.h"
#include "platform/Files.h"
#include "platform/Libraries.h"
#include "platform/Process.h"
#include "tarvoke/core.h"
#include "tarvoke/system.h"

namespace tarvoke {
namespace {

struct CachedLibrary {
    std::string name;  // lower case, as the game's name was compared
    platform::Library library;
};

std::vector<CachedLibrary> libraryCache;

// The name as written first: this system's file names keep their letter case. A game written
// for a system that ignores case may have named a library "Sound.DLL" that ships as "libsound.so".
const platform::Library* loadAndCache(const std::string& asGiven, const std::string& lowered) {
    platform::Library library = platform::loadLibrary(platform::nativePath(asGiven));
    if (!library.isLoaded() && lowered != asGiven) library = platform::loadLibrary(platform::nativePath(lowered));
    if (!library.isLoaded()) return nullptr;
    libraryCache.push_back({lowered, std::move(library)});
    return &libraryCache.back().library;
}

const platform::Library* cachedLibrary(const std::string& lowered) {
    for (const CachedLibrary& cached : libraryCache)
        if (cached.name == lowered) return &cached.library;
    return nullptr;
}

void reportLoadFailure(const std::string& lowered) {
    if (projectSettings.debugMode != 0 && platform::isDebuggerAttached())
        platform::sendDebuggerText("TXFailed to load: " + lowered);
}

// Returns the function's address; `lowered` receives the name in lower case.
void* bind(const StrValue& libraryName, const StrValue& functionName, StrValue& lowered) {
    const std::string asGiven = libraryName.cStr();
    lowered = libraryName.lowerCase();
    const std::string key = lowered.cStr();
    const platform::Library* library = cachedLibrary(key);
    if (!library) library = loadAndCache(asGiven, key);
    if (!library) {
        reportLoadFailure(key);
        return nullptr;
    }
    return library->function(functionName.cStr());
}

} // namespace

void loadDllFunction(StrValue& libraryName, const StrValue& functionName, void*& address) {
    StrValue lowered;
    address = bind(libraryName, functionName, lowered);
    libraryName = lowered;
}

void loadDllFunction(const StrValue& libraryName, const StrValue& functionName, void*& address) {
    StrValue lowered;
    address = bind(libraryName, functionName, lowered);
}

std::size_t loadedLibraryCount() { return libraryCache.size(); }

// Last loaded first: a later library may use an earlier one.
void stopLibraries() {
    while (!libraryCache.empty()) libraryCache.pop_back();
}

} // namespace tarvoke
