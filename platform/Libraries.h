// Platform contract, dynamic libraries: loading one by name and finding its functions.
#pragma once
#include <string>

namespace tarvoke::platform {

// One loaded library; released when the object goes. Move-only.
class Library {
public:
    Library() = default;
    ~Library();
    Library(Library&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
    Library& operator=(Library&& other) noexcept;
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    bool isLoaded() const { return handle_ != nullptr; }
    void* function(const std::string& name) const;  // null when the library lacks it

private:
    friend Library loadLibrary(const std::string& name);
    void* handle_ = nullptr;
};

// Loads a library by the name a game gives. A name with a folder part is a path; a bare name is
// looked for beside the executable, then where the system keeps its libraries. A name ending in
// ".dll" also tries this system's forms of it: "name.dll" -> "libname.so", "name.so".
// Not loaded (isLoaded() false) when no form can be loaded.
Library loadLibrary(const std::string& name);

} // namespace tarvoke::platform
