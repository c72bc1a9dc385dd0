// Fails the Nth array allocation in turn to show that every failure inside a text operation
// leaves no buffer behind and the target as it was. StrValue takes all its buffers from
// new[], so the replaced array operators see exactly its allocations.
#include "tarvoke/StrValue.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>

using namespace tarvoke;

namespace {
// The replaced operators below are global by nature, so their counters are too.
long liveArrays = 0;
long arraysUntilFailure = 0;  // 0: never fail
}

void* operator new[](std::size_t size) {
    if (arraysUntilFailure > 0 && --arraysUntilFailure == 0) throw std::bad_alloc();
    void* memory = std::malloc(size == 0 ? 1 : size);
    if (memory == nullptr) throw std::bad_alloc();
    ++liveArrays;
    return memory;
}

void operator delete[](void* memory) noexcept {
    if (memory == nullptr) return;
    --liveArrays;
    std::free(memory);
}

void operator delete[](void* memory, std::size_t) noexcept { operator delete[](memory); }

namespace {

std::string bytesOf(const StrValue& value) { return std::string(value.cStr(), value.length()); }

// Runs `operation` with allocation 1, 2, ... failing until a run needs no more; after each
// failure checks that nothing leaked and calls `checkUnchanged`. Returns how many allocations
// were failed, so a test can prove it reached every one.
template <typename Operation, typename Check>
int failEachAllocationInTurn(Operation operation, Check checkUnchanged) {
    for (long failing = 1;; ++failing) {
        const long liveBefore = liveArrays;
        arraysUntilFailure = failing;
        bool failed = false;
        try {
            operation();
        } catch (const std::bad_alloc&) {
            failed = true;
        }
        arraysUntilFailure = 0;
        if (!failed) return static_cast<int>(failing - 1);
        EXPECT_EQ(liveArrays, liveBefore) << "leak after failing allocation " << failing;
        checkUnchanged();
    }
}

void nothingToCheck() {}

} // namespace

TEST(StrValueAllocFailure, ConstructionLeavesNothingBehind) {
    const StrValue source("source");
    const long liveBefore = liveArrays;
    EXPECT_EQ(failEachAllocationInTurn([] { StrValue made("text"); }, nothingToCheck), 1);
    EXPECT_EQ(failEachAllocationInTurn([&] { StrValue made(source); }, nothingToCheck), 1);
    EXPECT_EQ(failEachAllocationInTurn([] { StrValue made(2.5); }, nothingToCheck), 1);
    EXPECT_EQ(failEachAllocationInTurn([&] { StrValue made = source.upperCase(); }, nothingToCheck), 1);
    EXPECT_EQ(liveArrays, liveBefore);
}

TEST(StrValueAllocFailure, GrowingAssignmentKeepsTheTarget) {
    StrValue target("keep");
    const char* buffer = target.cStr();
    const std::string longText(600, 'x');
    const StrValue longValue(longText.c_str());
    const auto unchanged = [&] {
        EXPECT_EQ(bytesOf(target), "keep");
        EXPECT_EQ(target.cStr(), buffer);
        EXPECT_EQ(target.capacity(), 512u);
    };
    EXPECT_EQ(failEachAllocationInTurn([&] { target = longText.c_str(); }, unchanged), 1);
    target = StrValue("keep");  // a fresh 512-byte buffer; capacity never shrinks
    buffer = target.cStr();
    EXPECT_EQ(failEachAllocationInTurn([&] { target = longValue; }, unchanged), 1);
    EXPECT_EQ(bytesOf(target), longText);
}

TEST(StrValueAllocFailure, GrowingAppendKeepsTheTarget) {
    const std::string start(510, 'a');
    StrValue target(start.c_str());
    const auto unchanged = [&] {
        EXPECT_EQ(bytesOf(target), start);
        EXPECT_EQ(target.capacity(), 512u);
    };
    // The number is formatted into a temporary first, then the target grows: two chances to fail.
    EXPECT_EQ(failEachAllocationInTurn([&] { target += 12345.0; }, unchanged), 2);
    EXPECT_EQ(bytesOf(target), start + "12345");

    target = StrValue(start.c_str());  // a fresh 512-byte buffer; capacity never shrinks
    EXPECT_EQ(failEachAllocationInTurn([&] { target += "xyz"; }, unchanged), 1);
    target = StrValue(start.c_str());
    EXPECT_EQ(failEachAllocationInTurn([&] { target += target; }, unchanged), 1);
    EXPECT_EQ(bytesOf(target), start + start);
}

TEST(StrValueAllocFailure, ConcatReleasesThePartlyBuiltResult) {
    const std::string longText(510, 'b');
    const StrValue left(longText.c_str());
    const auto leftUnchanged = [&] { EXPECT_EQ(bytesOf(left), longText); };
    std::string joined;
    // result, the number's temporary, then the result's growth
    EXPECT_EQ(failEachAllocationInTurn([&] { joined = bytesOf(concat(left, 0.5)); }, leftUnchanged), 3);
    EXPECT_EQ(joined, longText + "0.5");
    EXPECT_EQ(failEachAllocationInTurn([&] { joined = bytesOf(concat(IntValue(-1), left)); },
                                       leftUnchanged), 2);
    EXPECT_EQ(joined, "-1" + longText);
    EXPECT_EQ(failEachAllocationInTurn([&] { joined = bytesOf(concat("xyz", longText.c_str())); },
                                       nothingToCheck), 2);
    EXPECT_EQ(joined, "xyz" + longText);
}
