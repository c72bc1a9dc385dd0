// The ISAAC core against the published reference output, and the game's generator built on it.
#include "values/Random.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

namespace tarvoke {
namespace {

constexpr std::uint32_t firstReferenceWord = 0xf650e4c8;

TEST(Isaac, MatchesThePublishedReferenceOutput) {
    const std::uint32_t expected[16] = {
        0xf650e4c8, 0xe448e96d, 0x98db2fb4, 0xf5fad54f, 0x433f1afb, 0xedec154a, 0xd8370487, 0x46ca4f9a,
        0x5de3743e, 0x88381097, 0xf1d444eb, 0x823cedb6, 0x6a83e1e0, 0x4a5f6355, 0xc7442433, 0x25890e2e,
    };
    IsaacState state{};  // everything zero, seeded from the zero results
    initialiseFromResults(state);
    generateResults(state);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(state.results[i], expected[i]) << "word " << i;
    generateResults(state);
    EXPECT_EQ(state.results[255], 0x4bb5af29u);
}

// A seed is result word 0 of an otherwise zero state, whatever the state held before; a draw is
// one pass's first word.
TEST(Isaac, SeedingStartsFromAZeroStateWithTheSeedAsFirstResultWord) {
    for (IntValue seed : {0, 77, -5}) {
        IsaacState seeded{};
        seedState(seeded, 1234);
        drawWord(seeded);
        seedState(seeded, seed);
        IsaacState built{};
        built.results[0] = std::uint32_t(seed);
        initialiseFromResults(built);
        generateResults(built);
        EXPECT_EQ(drawWord(seeded), built.results[0]) << seed;
        EXPECT_EQ(seeded.counter, 2u) << seed;  // the initialisation's pass and the draw's
    }
    IsaacState zero{};
    seedState(zero, 0);
    EXPECT_EQ(drawWord(zero), firstReferenceWord);
}

TEST(SeedRandom, TheSameSeedRepeatsTheSequenceAndOthersDiffer) {
    auto drawsAfter = [](IntValue seed) {
        seedRandom(seed);
        std::vector<NumValue> draws;
        for (int i = 0; i < 8; ++i) draws.push_back(randomInt(1e6));
        return draws;
    };
    EXPECT_EQ(drawsAfter(12345), drawsAfter(12345));
    EXPECT_NE(drawsAfter(12345), drawsAfter(12346));
    EXPECT_NE(drawsAfter(INT32_MIN), drawsAfter(INT32_MAX));
}

TEST(RandomInt, LimitsOutsideTheWordRange) {
    seedRandom(0);
    const NumValue nothingPositive[] = {0.0, -1e300, -INFINITY, NAN};
    for (NumValue n : nothingPositive) EXPECT_EQ(randomInt(n), 0.0) << n;
    EXPECT_EQ(randomInt(4294967295.0), NumValue(firstReferenceWord));  // nothing was drawn before
    const NumValue wordRangeAndUp[] = {4294967296.0, 1e300, INFINITY};
    for (NumValue n : wordRangeAndUp) {
        const NumValue drawn = randomInt(n);
        EXPECT_TRUE(drawn >= 0 && drawn <= 4294967295.0 && drawn == std::trunc(drawn)) << n << ": " << drawn;
    }
}

// Every value 0..n (n truncated) turns up, and nothing outside.
TEST(RandomInt, CoversExactlyZeroToTheTruncatedLimit) {
    struct Case { NumValue n; int highest; };
    const Case cases[] = {{0.5, 0}, {1, 1}, {2.9, 2}, {6, 6}};
    seedRandom(99);
    for (const Case& c : cases) {
        std::set<NumValue> seen;
        for (int i = 0; i < 400; ++i) seen.insert(randomInt(c.n));
        EXPECT_EQ(seen.size(), std::size_t(c.highest + 1)) << c.n;
        EXPECT_EQ(*seen.rbegin(), NumValue(c.highest)) << c.n;
    }
}

TEST(SeedFromMilliseconds, KeepsTheLowWordAsASignedValue) {
    struct Case { double milliseconds; IntValue seed; };
    const Case cases[] = {
        {1234.9, 1234}, {2147483648.0, INT32_MIN}, {4294967295.0, -1}, {4294967296.0 + 5, 5},
        {3e9, -1294967296}, {NAN, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(seedFromMilliseconds(c.milliseconds), c.seed) << c.milliseconds;
}

} // namespace
} // namespace tarvoke
