// GrowableArray: the engine's growable buffer for model, vertex and text data. It owns its
// elements and grows in whole steps: when room for n elements is asked and the capacity is
// below n, the new capacity is the minimum capacity when n is at most that, else
// step x (n / step + 1). (An array that already has room for exactly n does not grow again:
// a model's triangle array, sized exactly, would otherwise be copied whole for its last corner.)
// Growing never throws: a failed allocation answers false and leaves the array as it was, so
// loaders can report "out of memory" instead of unwinding.
#pragma once
#include <cstddef>
#include <limits>
#include <new>
#include <type_traits>
#include <utility>

namespace tarvoke {

template <typename T>
class GrowableArray {
    static_assert(std::is_nothrow_move_constructible_v<T>, "elements move into new storage");

public:
    static constexpr std::size_t defaultStep = 128;
    static constexpr std::size_t defaultMinimum = 512;

    std::size_t step = defaultStep;        // capacity grows in multiples of this
    std::size_t minimum = defaultMinimum;  // the first allocation holds at least this many

    GrowableArray() = default;
    ~GrowableArray() { clear(); }
    GrowableArray(const GrowableArray&) = delete;
    GrowableArray& operator=(const GrowableArray&) = delete;
    GrowableArray(GrowableArray&& other) noexcept { takeFrom(other); }
    GrowableArray& operator=(GrowableArray&& other) noexcept {
        if (this != &other) {
            clear();
            takeFrom(other);
        }
        return *this;
    }

    T* data() { return elements_; }
    const T* data() const { return elements_; }
    std::size_t count() const { return count_; }
    std::size_t capacity() const { return capacity_; }
    bool empty() const { return count_ == 0; }
    T& operator[](std::size_t index) { return elements_[index]; }
    const T& operator[](std::size_t index) const { return elements_[index]; }
    T* begin() { return elements_; }
    T* end() { return elements_ + count_; }
    const T* begin() const { return elements_; }
    const T* end() const { return elements_ + count_; }
    T& back() { return elements_[count_ - 1]; }

    // Room for n elements by the growth rule; false when the storage cannot be had.
    bool reserve(std::size_t n) {
        if (n <= capacity_) return true;
        const std::size_t grain = step ? step : 1;
        if (n <= minimum) return moveTo(minimum);
        if (n / grain + 1 > std::numeric_limits<std::size_t>::max() / sizeof(T) / grain) return false;
        return moveTo(grain * (n / grain + 1));
    }
    // Room for exactly n elements (at least the elements held), for arrays filled from a file.
    bool reserveExactly(std::size_t n) { return n <= capacity_ || moveTo(n); }

    bool append(const T& element) {
        if (!reserve(count_ + 1)) return false;
        new (elements_ + count_) T(element);
        ++count_;
        return true;
    }
    bool append(T&& element) {
        if (!reserve(count_ + 1)) return false;
        new (elements_ + count_) T(std::move(element));
        ++count_;
        return true;
    }
    // Grows or shrinks the element count; new elements are value-initialised.
    bool resize(std::size_t n) {
        if (n > count_ && !reserve(n)) return false;
        while (count_ > n) elements_[--count_].~T();
        while (count_ < n) new (elements_ + count_++) T();
        return true;
    }
    // Empties the array and frees its storage; step and minimum stay.
    void clear() {
        while (count_ > 0) elements_[--count_].~T();
        ::operator delete(elements_);
        elements_ = nullptr;
        capacity_ = 0;
    }

private:
    bool moveTo(std::size_t newCapacity) {
        if (newCapacity < count_ || newCapacity > std::numeric_limits<std::size_t>::max() / sizeof(T)) return false;
        T* storage = static_cast<T*>(::operator new(newCapacity * sizeof(T), std::nothrow));
        if (!storage && newCapacity > 0) return false;
        for (std::size_t i = 0; i < count_; ++i) {
            new (storage + i) T(std::move(elements_[i]));
            elements_[i].~T();
        }
        ::operator delete(elements_);
        elements_ = storage;
        capacity_ = newCapacity;
        return true;
    }
    void takeFrom(GrowableArray& other) {
        elements_ = std::exchange(other.elements_, nullptr);
        count_ = std::exchange(other.count_, 0);
        capacity_ = std::exchange(other.capacity_, 0);
        step = other.step;
        minimum = other.minimum;
    }

    T* elements_ = nullptr;
    std::size_t count_ = 0;
    std::size_t capacity_ = 0;
};

} // namespace tarvoke
