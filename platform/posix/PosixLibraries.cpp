// Dynamic libraries on POSIX, through the dynamic loader.
#include <dlfcn.h>
#include <vector>
#include "platform/Files.h"
#include "platform/Libraries.h"

namespace tarvoke::platform {
namespace {

bool endsWithDll(const std::string& name) {
    if (name.size() < 4) return false;
    std::string ending = name.substr(name.size() - 4);
    for (char& c : ending)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return ending == ".dll";
}

// The name itself, then for "folder/name.dll" this system's "folder/libname.so" and "folder/name.so".
std::vector<std::string> nameForms(const std::string& name) {
    std::vector<std::string> forms = {name};
    if (!endsWithDll(name)) return forms;
    const std::size_t cut = name.find_last_of('/') + 1;  // 0 when there is no folder part
    const std::string folder = name.substr(0, cut), base = name.substr(cut, name.size() - cut - 4);
    if (base.empty()) return forms;
    forms.push_back(folder + "lib" + base + ".so");
    forms.push_back(folder + base + ".so");
    return forms;
}

// A bare name is tried beside the executable first, as games ship their libraries there; the
// loader alone would look only in the system's library folders.
std::vector<std::string> placesOf(const std::string& form) {
    if (form.find('/') != std::string::npos) return {form};
    const std::string executable = executablePath();
    const std::size_t cut = executable.find_last_of('/');
    if (cut == std::string::npos) return {form};
    return {executable.substr(0, cut + 1) + form, form};
}

} // namespace

Library::~Library() {
    if (handle_) dlclose(handle_);
}

Library& Library::operator=(Library&& other) noexcept {
    if (this != &other) {
        if (handle_) dlclose(handle_);
        handle_ = other.handle_;
        other.handle_ = nullptr;
    }
    return *this;
}

void* Library::function(const std::string& name) const { return handle_ ? dlsym(handle_, name.c_str()) : nullptr; }

Library loadLibrary(const std::string& name) {
    Library library;
    if (name.empty()) return library;
    for (const std::string& form : nameForms(name)) {
        for (const std::string& place : placesOf(form)) {
            // Every symbol bound now: a missing one fails the load here, not as a crash later.
            library.handle_ = dlopen(place.c_str(), RTLD_NOW | RTLD_LOCAL);
            if (library.handle_) return library;
        }
    }
    return library;
}

} // namespace tarvoke::platform
