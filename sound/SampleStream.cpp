// The sample stream's ring: the writer's copy in and the audio thread's mix out (see the thread
// rule in SampleStream.h).
#include "sound/SampleStream.h"
#include <algorithm>

namespace tarvoke {

std::size_t streamRoom(const SampleStream& stream) {
    const std::uint64_t held = stream.written.load(std::memory_order_relaxed) - stream.played.load(std::memory_order_acquire);
    return stream.capacity() - std::size_t(held);
}

std::size_t writeStream(SampleStream& stream, const std::int16_t* frames, std::size_t frameCount) {
    const std::size_t count = std::min(frameCount, streamRoom(stream));
    const std::size_t capacity = stream.capacity();
    std::uint64_t at = stream.written.load(std::memory_order_relaxed);
    for (std::size_t done = 0; done < count;) {
        const std::size_t slot = std::size_t(at % capacity);
        const std::size_t piece = std::min(count - done, capacity - slot);
        std::copy(frames + 2 * done, frames + 2 * (done + piece), stream.ring.begin() + std::ptrdiff_t(2 * slot));
        done += piece;
        at += piece;
    }
    stream.written.store(at, std::memory_order_release);
    return count;
}

void mixStream(SampleStream& stream, float* mix, int frameCount) {
    const std::uint64_t from = stream.played.load(std::memory_order_relaxed);
    const std::uint64_t buffered = stream.written.load(std::memory_order_acquire) - from;
    const std::size_t count = std::size_t(std::min<std::uint64_t>(buffered, std::uint64_t(std::max(frameCount, 0))));
    const std::size_t capacity = stream.capacity();
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t slot = std::size_t((from + i) % capacity);
        mix[2 * i] += stream.ring[2 * slot];
        mix[2 * i + 1] += stream.ring[2 * slot + 1];
    }
    stream.played.store(from + count, std::memory_order_release);
}

} // namespace tarvoke
