// SampleStream: a ring of stereo 16-bit frames at the device rate that one producer (the main
// thread) fills and the audio thread plays, added to the effect mix at full volume. A movie's
// sound reaches the output this way, beside the effects and the music.
//
// Thread rule. Only the main thread writes; only the audio thread reads (mixStream). They share
// nothing but the two frame counters, which are atomic: the writer publishes frames by raising
// `written` after copying them, the reader frees room by raising `played` after adding them. The
// reader never waits, allocates or frees. When the ring is empty it adds nothing and `played`
// stands still, so the count of played frames is a clock that waits for late sound instead of
// skipping it. The ring is allocated before the stream joins the mixer and freed after it left.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tarvoke {

struct SampleStream {
    explicit SampleStream(std::size_t capacityFrames) : ring(2 * capacityFrames) {}
    std::size_t capacity() const { return ring.size() / 2; }

    std::vector<std::int16_t> ring;            // interleaved left, right
    std::atomic<std::uint64_t> written{0};     // frames ever written; the main thread's
    std::atomic<std::uint64_t> played{0};      // frames ever played; the audio thread's
};

// ---- the main thread's side
std::size_t streamRoom(const SampleStream& stream);
// Copies up to the room of `frameCount` frames in; returns how many it took.
std::size_t writeStream(SampleStream& stream, const std::int16_t* frames, std::size_t frameCount);

// ---- the audio thread's side: adds up to frameCount buffered frames to `mix` (interleaved stereo)
void mixStream(SampleStream& stream, float* mix, int frameCount);

} // namespace tarvoke
