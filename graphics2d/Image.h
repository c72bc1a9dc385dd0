// Image: an in-memory RGBA picture, 4 bytes a pixel (red, green, blue, alpha), rows from the
// top of the picture down, no row padding. The image readers fill it; the texture builder
// turns it into sprite textures.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

namespace tarvoke {

// Leaves new elements uninitialised (default-initialised): picture buffers are always written
// whole before they are read, and zero-filling megabytes first costs as much as a decode step.
template <typename T>
struct UninitialisedAllocator : std::allocator<T> {
    template <typename U>
    struct rebind {
        using other = UninitialisedAllocator<U>;
    };
    UninitialisedAllocator() = default;
    template <typename U>
    UninitialisedAllocator(const UninitialisedAllocator<U>&) noexcept {}
    template <typename U>
    void construct(U* place) noexcept {
        ::new (static_cast<void*>(place)) U;
    }
    template <typename U, typename... Args>
    void construct(U* place, Args&&... args) {
        ::new (static_cast<void*>(place)) U(std::forward<Args>(args)...);
    }
};

using PixelBytes = std::vector<std::uint8_t, UninitialisedAllocator<std::uint8_t>>;

struct Image {
    int width = 0;
    int height = 0;
    PixelBytes pixels;  // width x height x 4 bytes; the buffer is reused

    bool isEmpty() const { return width <= 0 || height <= 0; }
    void clear() {
        width = height = 0;
        pixels.clear();
        pixels.shrink_to_fit();
    }
    const std::uint8_t* pixel(int x, int y) const { return &pixels[(std::size_t(y) * std::size_t(width) + std::size_t(x)) * 4]; }
};

} // namespace tarvoke
