// ISAAC, written from Bob Jenkins' published design, and the game's one random generator.
#include "values/Random.h"

#include <cmath>

namespace tarvoke {

namespace {

constexpr std::uint32_t goldenRatio = 0x9e3779b9;
constexpr int mixWidth = 8;

IsaacState gameGenerator{};  // seeded by start-up step 10

// The accumulator's shift for word i of a pass: left 13, right 6, left 2, right 16, repeating.
std::uint32_t accumulatorStir(std::uint32_t a, int i) {
    switch (i & 3) {
        case 0: return a ^ (a << 13);
        case 1: return a ^ (a >> 6);
        case 2: return a ^ (a << 2);
        default: return a ^ (a >> 16);
    }
}

// The initialisation's mix of eight words a..h. Each of the eight rounds folds a shifted
// neighbour into one word, then spreads it three words on; the shifts alternate left and right.
void mix(std::uint32_t (&v)[mixWidth]) {
    constexpr int shifts[mixWidth] = {11, 2, 8, 16, 10, 4, 8, 9};
    for (int k = 0; k < mixWidth; ++k) {
        const std::uint32_t next = v[(k + 1) % mixWidth];
        v[k] ^= (k % 2 == 0) ? next << shifts[k] : next >> shifts[k];
        v[(k + 3) % mixWidth] += v[k];
        v[(k + 1) % mixWidth] += v[(k + 2) % mixWidth];
    }
}

// Adds the source to the mix eight words at a time and stores each mixed block into memory.
void foldIntoMemory(const std::uint32_t* source, std::uint32_t (&v)[mixWidth], IsaacState& state) {
    for (int i = 0; i < isaacWords; i += mixWidth) {
        for (int j = 0; j < mixWidth; ++j) v[j] += source[i + j];
        mix(v);
        for (int j = 0; j < mixWidth; ++j) state.memory[i + j] = v[j];
    }
}

} // namespace

void generateResults(IsaacState& state) {
    std::uint32_t* mm = state.memory;
    std::uint32_t a = state.accumulator;
    std::uint32_t b = state.lastResult + ++state.counter;
    for (int i = 0; i < isaacWords; ++i) {
        const std::uint32_t x = mm[i];
        a = mm[(i + isaacWords / 2) % isaacWords] + accumulatorStir(a, i);
        const std::uint32_t y = mm[(x >> 2) % isaacWords] + a + b;
        mm[i] = y;
        b = mm[(y >> 10) % isaacWords] + x;
        state.results[i] = b;
    }
    state.accumulator = a;
    state.lastResult = b;
}

void initialiseFromResults(IsaacState& state) {
    std::uint32_t v[mixWidth];
    for (std::uint32_t& word : v) word = goldenRatio;
    for (int round = 0; round < 4; ++round) mix(v);
    // The second fold reads each block of memory just before replacing it, as the design does.
    foldIntoMemory(state.results, v, state);
    foldIntoMemory(state.memory, v, state);
    generateResults(state);
}

void seedState(IsaacState& state, IntValue seed) {
    state.accumulator = state.lastResult = state.counter = 0;
    for (std::uint32_t& word : state.results) word = 0;
    state.results[0] = static_cast<std::uint32_t>(seed);
    initialiseFromResults(state);
}

// Every draw costs a whole pass and uses only its first word, as the original runtime did;
// the sequence a seed gives depends on that.
std::uint32_t drawWord(IsaacState& state) {
    generateResults(state);
    return state.results[0];
}

IntValue seedFromMilliseconds(double milliseconds) {
    if (!std::isfinite(milliseconds)) return 0;
    constexpr double wordRange = 4294967296.0;
    double low = std::fmod(std::trunc(milliseconds), wordRange);
    if (low < 0) low += wordRange;
    return static_cast<IntValue>(static_cast<std::uint32_t>(low));
}

void seedRandom(IntValue seed) { seedState(gameGenerator, seed); }

// The modulus is n's low 32 bits plus one, as the original computed it. From 4294967295 up it
// would wrap to 0 (or to a small number), so every such n returns the whole word instead.
NumValue randomInt(NumValue n) {
    if (!(n > 0)) return 0;
    const std::uint32_t word = drawWord(gameGenerator);
    if (n >= 4294967295.0) return word;
    const std::uint32_t modulus = static_cast<std::uint32_t>(n) + 1;
    return word % modulus;
}

} // namespace tarvoke
