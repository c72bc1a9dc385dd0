// The random generator's core: Bob Jenkins' ISAAC with 32-bit words, on a state of its own so
// that it can be checked against the published output without touching the game's generator.
#pragma once
#include <cstdint>
#include "tarvoke/builtins.h"

namespace tarvoke {

constexpr int isaacWords = 256;

struct IsaacState {
    std::uint32_t memory[isaacWords];
    std::uint32_t results[isaacWords];
    std::uint32_t accumulator;  // "a"
    std::uint32_t lastResult;   // "b"
    std::uint32_t counter;      // "c"
};

void generateResults(IsaacState& state);     // one pass: 256 new result words
void initialiseFromResults(IsaacState& state);  // memory from the results as seed, then one pass
void seedState(IsaacState& state, IntValue seed);  // a, b, c = 0; results = {seed, 0, ...}; initialise
std::uint32_t drawWord(IsaacState& state);   // a whole pass, then result word 0

// The start-up seed: the low 32 bits of a millisecond count, read as signed, so that a clock
// past 2^31 ms still gives a seed that changes from run to run.
IntValue seedFromMilliseconds(double milliseconds);

} // namespace tarvoke
