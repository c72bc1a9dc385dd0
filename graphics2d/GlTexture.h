// GlTexture: owns one OpenGL texture name. The name is deleted when the owner lets it go, but
// only while a GL context exists; after the context is gone the name simply lapses.
#pragma once
#include <GL/gl.h>
#include <utility>

namespace tarvoke {

bool glContextExists();  // the main window's context is alive

class GlTexture {
public:
    GlTexture() = default;
    ~GlTexture() { reset(); }
    GlTexture(const GlTexture&) = delete;
    GlTexture& operator=(const GlTexture&) = delete;
    GlTexture(GlTexture&& other) noexcept
        : name_(std::exchange(other.name_, 0)), filter_(std::exchange(other.filter_, 0)) {}
    GlTexture& operator=(GlTexture&& other) noexcept {
        if (this != &other) {
            reset();
            name_ = std::exchange(other.name_, 0);
            filter_ = std::exchange(other.filter_, 0);
        }
        return *this;
    }

    GLuint name() const { return name_; }
    bool exists() const { return name_ != 0; }
    // Replaces the owned name with a freshly generated one.
    GLuint generate() {
        reset();
        glGenTextures(1, &name_);
        return name_;
    }
    void reset() {
        if (name_ != 0 && glContextExists()) glDeleteTextures(1, &name_);
        name_ = 0;
        filter_ = 0;
    }
    // Sets the minification and magnification filter of this texture, which must be bound.
    // The driver revalidates its state on every change, so an unchanged filter is not set again.
    void applyFilter(GLint filter) {
        if (filter == filter_) return;
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
        filter_ = filter;
    }
    void forgetFilter() { filter_ = 0; }  // after setting filters some other way

private:
    GLuint name_ = 0;
    GLint filter_ = 0;  // the filter last set through applyFilter; 0: not known
};

} // namespace tarvoke
