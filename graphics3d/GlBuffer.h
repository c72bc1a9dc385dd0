// GlBuffer: owns one vertex-buffer name. Like GlTexture, the name is deleted only while the GL
// context exists (and the driver has vertex buffers); afterwards it simply lapses.
#pragma once
#include <GL/gl.h>
#include <cstddef>
#include <utility>
#include "graphics2d/GlExtensions.h"
#include "graphics2d/GlTexture.h"

namespace tarvoke {

class GlBuffer {
public:
    GlBuffer() = default;
    ~GlBuffer() { reset(); }
    GlBuffer(const GlBuffer&) = delete;
    GlBuffer& operator=(const GlBuffer&) = delete;
    GlBuffer(GlBuffer&& other) noexcept
        : name_(std::exchange(other.name_, 0)), size_(std::exchange(other.size_, 0)) {}
    GlBuffer& operator=(GlBuffer&& other) noexcept {
        if (this != &other) {
            reset();
            name_ = std::exchange(other.name_, 0);
            size_ = std::exchange(other.size_, 0);
        }
        return *this;
    }

    GLuint name() const { return name_; }
    bool exists() const { return name_ != 0; }
    std::size_t size() const { return size_; }        // bytes last given to the buffer
    void setSize(std::size_t bytes) { size_ = bytes; }
    // Replaces the owned name with a fresh one; 0 when the driver has no vertex buffers.
    GLuint generate() {
        reset();
        if (glExt.genBuffers) glExt.genBuffers(1, &name_);
        return name_;
    }
    void reset() {
        if (name_ != 0 && glContextExists() && glExt.deleteBuffers) glExt.deleteBuffers(1, &name_);
        name_ = 0;
        size_ = 0;
    }

private:
    GLuint name_ = 0;
    std::size_t size_ = 0;
};

} // namespace tarvoke
