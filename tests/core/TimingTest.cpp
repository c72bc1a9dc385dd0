// The clock, the frame limiter and the timer commands.
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include "core/Engine.h"
#include "platform/Clock.h"
#include "support/TestSupport.h"

namespace tarvoke {
namespace {

using test::EngineRun;
using test::ScopedTempDir;

constexpr double period60 = 1000.0 / 60.0;

TEST(FrameSlots, MissedSlotsAreSkippedNeverCaughtUp) {
    // A frame that ran 40 ms from slot 0 is followed by the slot after the missed one (50 ms).
    EXPECT_DOUBLE_EQ(FrameClock::nextFrameSlot(0.0, period60, 40.0), 3 * period60);
    // On time: simply the next slot.
    EXPECT_DOUBLE_EQ(FrameClock::nextFrameSlot(100.0, period60, 100.5), 100.0 + period60);
    // Exactly on a slot boundary that slot is kept.
    EXPECT_DOUBLE_EQ(FrameClock::nextFrameSlot(0.0, 10.0, 30.0), 30.0);
    // A period of 0 never loops.
    EXPECT_DOUBLE_EQ(FrameClock::nextFrameSlot(5.0, 0.0, 1e9), 5.0);
}

TEST(FrameSlots, FrameRateSetsThePeriod) {
    ScopedTempDir temp;
    EngineRun engine;
    setFrameRate(60);
    EXPECT_DOUBLE_EQ(frameClock().framePeriod, period60);
    setFrameRate(0);
    EXPECT_DOUBLE_EQ(frameClock().framePeriod, 2.0);
    setFrameRate(-5);
    EXPECT_DOUBLE_EQ(frameClock().framePeriod, 2.0);
    setFrameRate(std::nan(""));
    EXPECT_DOUBLE_EQ(frameClock().framePeriod, 2.0);
    setFrameRate(30.9);  // truncated to 30
    EXPECT_DOUBLE_EQ(frameClock().framePeriod, 1000.0 / 30.0);
}

TEST(FrameSlots, PresentingKeepsToTheSixtyHertzGrid) {
    ScopedTempDir temp;
    EngineRun engine;
    setFrameRate(60);
    presentFrame();
    double slot = frameClock().nextFrameTime;
    for (int frame = 0; frame < 5; ++frame) {
        const NumValue waited = presentFrame();
        const double reached = now();
        EXPECT_GE(waited, 1.0);
        EXPECT_GT(reached, slot);  // the frame was not shown before its slot
        const double next = frameClock().nextFrameTime;
        const double steps = (next - slot) / period60;
        EXPECT_NEAR(steps, std::round(steps), 1e-6);  // still on the grid
        EXPECT_GE(std::round(steps), 1.0);
        EXPECT_LE(next - reached, period60 + 1e-6);
        slot = next;
    }
}

TEST(FrameSlots, ALongFrameIsFollowedByTheSlotAfterTheMissedOne) {
    ScopedTempDir temp;
    EngineRun engine;
    setFrameRate(60);
    presentFrame();
    presentFrame();  // now just past a slot S; the next one is S + P
    const double nextSlot = frameClock().nextFrameTime;
    const double slotBefore = nextSlot - period60;
    platform::sleepMilliseconds(40);  // the frame takes 40 ms from S
    const double beforeWait = now();
    const NumValue waited = presentFrame();
    const double skippedTo = frameClock().nextFrameTime;
    const double steps = (skippedTo - slotBefore) / period60;
    EXPECT_NEAR(steps, std::round(steps), 1e-6);
    EXPECT_GE(std::round(steps), 3.0);  // S + 3P (50 ms) or later, never S + 2P
    EXPECT_GE(skippedTo, beforeWait);   // no slot in the past remains to be caught up
    EXPECT_LT(waited, 5.0);             // the late frame did not wait
}

TEST(Timers, GetTimerIsNeverBelowOne) {
    frameTime = 1000.0;
    previousFrameTime = 1000.0;
    EXPECT_EQ(getTimer(), 1.0);
    previousFrameTime = 1001.0;
    EXPECT_EQ(getTimer(), 1.0);
    previousFrameTime = 983.25;
    EXPECT_EQ(getTimer(), 16.75);
}

TEST(Timers, ShowScreenMeasuresEachFrame) {
    ScopedTempDir temp;
    EngineRun engine;
    setFrameRate(60);
    showScreen();  // may begin anywhere within a slot; the next frames start on slot boundaries
    // A frame delayed by other work shortens the next one, which still ends on its slot; so the
    // longest of a few frames is the one that shows a whole period.
    double longest = 0;
    for (int frame = 0; frame < 4; ++frame) {
        showScreen();
        EXPECT_LT(getTimer(), 200.0);
        longest = std::max(longest, double(getTimer()));
    }
    EXPECT_GT(longest, 12.0);
    const NumValue before = getTimerAll();
    showScreen();
    EXPECT_GT(getTimerAll(), before);
}

TEST(Timers, SleepMsIgnoresNegativeAndNaNDurations) {
    const double start = now();
    sleepMs(-1);
    sleepMs(-1e12);
    sleepMs(std::nan(""));
    sleepMs(0.9);
    EXPECT_LT(now() - start, 50.0);
    sleepMs(20.7);  // truncated to 20
    EXPECT_GE(now() - start, 20.0);
}

TEST(Timers, FlagsFollowTheirNumbers) {
    setAutoPause(0);
    EXPECT_FALSE(autoPause);
    setAutoPause(std::nan(""));  // a NaN counts as set
    EXPECT_TRUE(autoPause);
    allowEscape(0.0);
    EXPECT_FALSE(escapeEndsProgram);
    allowEscape(-3);
    EXPECT_TRUE(escapeEndsProgram);
}

} // namespace
} // namespace tarvoke
