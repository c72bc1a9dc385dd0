// A ring buffer of fixed capacity, with a second array of the same size as scratch space for
// inserting and erasing in the middle. It holds a planner's open list when that list is kept
// sorted (the straightforward planner the tests check AStarPlanner against).
#pragma once
#include <cstddef>
#include <memory>
#include <utility>

namespace tarvoke {

template <typename T>
class FixedDeque {
public:
    explicit FixedDeque(std::size_t capacity)
        : elements_(new T[capacity ? capacity : 1]()), scratch_(new T[capacity ? capacity : 1]()), capacity_(capacity) {}

    std::size_t capacity() const { return capacity_; }
    bool empty() const { return empty_; }
    std::size_t size() const {
        if (empty_) return 0;
        return tail_ > head_ ? tail_ - head_ : tail_ + capacity_ - head_;
    }
    bool full() const { return !empty_ && head_ == tail_; }

    // Position i counted from the front; i < size().
    T& at(std::size_t i) { return elements_[wrap(head_ + i)]; }
    const T& at(std::size_t i) const { return elements_[wrap(head_ + i)]; }

    bool pushBack(const T& value) {  // false when full
        if (full() || capacity_ == 0) return false;
        elements_[tail_] = value;
        tail_ = wrap(tail_ + 1);
        empty_ = false;
        return true;
    }
    bool pushFront(const T& value) {  // false when full
        if (full() || capacity_ == 0) return false;
        head_ = wrap(head_ + capacity_ - 1);
        elements_[head_] = value;
        empty_ = false;
        return true;
    }
    T popBack() {  // size() > 0
        tail_ = wrap(tail_ + capacity_ - 1);
        empty_ = tail_ == head_;
        return elements_[tail_];
    }
    void clear() {
        head_ = tail_ = 0;
        empty_ = true;
    }

    // Puts the value at position i (0..size()), in front of the element that was there. False when full.
    bool insert(std::size_t i, const T& value) {
        if (full() || capacity_ == 0 || i > size()) return false;
        if (i == size()) return pushBack(value);
        if (i == 0) return pushFront(value);
        const std::size_t count = size();
        for (std::size_t k = 0; k < i; ++k) scratch_[k] = at(k);
        scratch_[i] = value;
        for (std::size_t k = i; k < count; ++k) scratch_[k + 1] = at(k);
        adopt(count + 1);
        return true;
    }
    // Removes position i (< size()).
    void erase(std::size_t i) {
        const std::size_t count = size();
        if (i + 1 == count) {
            popBack();
            return;
        }
        for (std::size_t k = 0; k < i; ++k) scratch_[k] = at(k);
        for (std::size_t k = i + 1; k < count; ++k) scratch_[k - 1] = at(k);
        adopt(count - 1);
    }

private:
    std::size_t wrap(std::size_t i) const { return i >= capacity_ ? i - capacity_ : i; }
    // The scratch array, filled with `count` elements from position 0, becomes the contents.
    void adopt(std::size_t count) {
        std::swap(elements_, scratch_);
        head_ = 0;
        tail_ = wrap(count);
        empty_ = count == 0;
    }

    std::unique_ptr<T[]> elements_;
    std::unique_ptr<T[]> scratch_;
    std::size_t capacity_;
    std::size_t head_ = 0;  // the front
    std::size_t tail_ = 0;  // one past the back
    bool empty_ = true;
};

} // namespace tarvoke
