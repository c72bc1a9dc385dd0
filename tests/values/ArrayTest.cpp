// Arrays: dimensioning, the index check, storage reuse, number-array operations, splitText.
#include <gtest/gtest.h>
#include <cmath>
#include <functional>
#include "support/TestSupport.h"
#include "tarvoke.h"

namespace tarvoke {
namespace {

// Runs the statement in a forked child in debug mode and expects it to end the program with
// the given runtime error, read back from the end record of the error log.
void expectRuntimeError(int code, const std::function<void()>& statement) {
    test::ScopedTempDir temp;
    GTEST_FLAG_SET(death_test_style, "fast");
    projectSettings.debugMode = 1;
    EXPECT_EXIT(statement(), testing::ExitedWithCode(0), "");
    projectSettings.debugMode = 0;
    const std::string log = test::readFile(temp.file("ErrorLog.txt"));
    EXPECT_EQ(log.substr(0, log.find("\r\n", 14)), "-End On Line\r\n" + std::to_string(code)) << log;
}

TEST(Arrays, DimensioningGivesSizesStridesAndCapacity) {
    TextArray names;
    dimArray(names, 10);
    EXPECT_EQ(names.shape().dimensions, 1u);
    EXPECT_EQ(names.shape().capacity, 64);
    dimArray(names, 10, 3);
    EXPECT_EQ(names.shape().dimensions, 2u);
    EXPECT_EQ(names.shape().stride2, 10);
    EXPECT_EQ(names.shape().stride3, 30);
    EXPECT_EQ(names.shape().elementCount(), 30u);
    dimArray(names, 2, 2, 2, 2);
    EXPECT_EQ(names.shape().dimensions, 4u);
    EXPECT_EQ(names.shape().stride4, 8);
    names(1, 1, 1, 1) = "last";
    EXPECT_STREQ(names(1, 1, 1, 1).cStr(), "last");
    EXPECT_STREQ(names.at(1.9, 1, 1, 1).cStr(), "last");  // number indices truncate
}

TEST(Arrays, AZeroSizeBetweenGivenOnesDoesNotShareStorage) {
    NumArray grid;
    dimArray(grid, 5, 0, 3);
    EXPECT_EQ(grid.shape().dimensions, 3u);
    for (int k = 0; k < 3; ++k)
        for (int i = 0; i < 5; ++i) grid(i, 0, k) = i + 10 * k;
    for (int k = 0; k < 3; ++k)
        for (int i = 0; i < 5; ++i) EXPECT_EQ(grid(i, 0, k), i + 10 * k);
}

TEST(Arrays, StorageIsReusedWhenItFitsAndEveryDimensioningClears) {
    TextArray texts;
    dimArray(texts, 10);
    texts(3) = "kept buffer";
    const std::uint32_t buffer = texts(3).capacity();
    dimArray(texts, 100);
    EXPECT_EQ(texts.shape().capacity, 128);
    dimArray(texts, 10);
    EXPECT_EQ(texts.shape().capacity, 128);  // kept
    EXPECT_STREQ(texts(3).cStr(), "");
    ByteArray bytes;
    dimArray(bytes, 4);
    bytes(2) = 7;
    dimArray(bytes, 200);
    for (int i = 0; i < 200; ++i) EXPECT_EQ(bytes(i), 0) << i;
    texts(0) = "x";
    dimArray(texts, 20);  // fits: element buffers stay allocated
    EXPECT_GE(texts(0).capacity(), 512u);
    (void)buffer;
}

TEST(Arrays, NumberArraysKeepSixteenElementsInline) {
    NumArray numbers;
    dimArray(numbers, 15);
    EXPECT_TRUE(numbers.usesInlineStore());
    EXPECT_EQ(numbers.shape().capacity, 16);
    numbers(14) = 3.5;
    dimArray(numbers, 16);
    EXPECT_FALSE(numbers.usesInlineStore());
    EXPECT_EQ(numbers.shape().capacity, 24);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(numbers(i), 0.0);
    dimArray(numbers, 3);  // fits the block: it is kept
    EXPECT_FALSE(numbers.usesInlineStore());
    dimArray(numbers, 0);  // empty: storage renewed, back inline
    EXPECT_TRUE(numbers.usesInlineStore());
    EXPECT_EQ(numbers.shape().dimensions, 0u);
}

TEST(Arrays, RedimKeepsTheCommonPartAcrossTheInlineStore) {
    NumArray grid;
    dimArray(grid, 4, 3);  // 12 elements: inline
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 4; ++i) grid(i, j) = 1 + i + 10 * j;
    redimArray(grid, 2, 5);  // 10 elements
    for (int j = 0; j < 5; ++j)
        for (int i = 0; i < 2; ++i) EXPECT_EQ(grid(i, j), j < 3 ? 1 + i + 10 * j : 0.0) << i << "," << j;
    redimArray(grid, 6, 5);  // 30 elements: out of the inline store
    EXPECT_FALSE(grid.usesInlineStore());
    EXPECT_EQ(grid(1, 2), 22);
    EXPECT_EQ(grid(5, 4), 0.0);
    redimArray(grid, 3);  // one dimension: index 0 of the dropped ones is kept
    EXPECT_FALSE(grid.usesInlineStore());  // the block it had fits and is kept
    EXPECT_EQ(grid(1), 2);
    EXPECT_EQ(grid(2), 0.0);
}

TEST(Arrays, CopyAndFill) {
    NumArray source, copy;
    fillArray(source, {4, 5, 6});
    EXPECT_EQ(source.shape().size1, 3);
    EXPECT_EQ(source(2), 6);
    copyArray(copy, source);
    EXPECT_EQ(copy(0), 4);
    EXPECT_EQ(copy(2), 6);
    copyArray(copy, copy);  // assigning an array to itself keeps it
    EXPECT_EQ(copy(1), 5);
    fillArray(copy, 0, nullptr);
    EXPECT_EQ(copy.shape().dimensions, 0u);
}

TEST(Arrays, SplitTextSkipsRunsOfDelimiters) {
    TextArray tokens;
    EXPECT_EQ(splitText("a,b;;c", tokens, ",;"), 3);
    EXPECT_STREQ(tokens(0).cStr(), "a");
    EXPECT_STREQ(tokens(2).cStr(), "c");
    EXPECT_EQ(splitText(",,x", tokens, ","), 1);
    EXPECT_STREQ(tokens(0).cStr(), "x");
    EXPECT_EQ(splitText("x,,", tokens, ","), 1);  // no empty last token
    EXPECT_EQ(splitText("", tokens, ","), 0);
    EXPECT_EQ(tokens.shape().dimensions, 0u);
    EXPECT_EQ(splitText("one two", tokens, ""), 1);
}

TEST(ArrayErrors, IndicesOutsideTheArrayEndTheProgramWithError9) {
    NumArray numbers;
    dimArray(numbers, 10, 3);
    expectRuntimeError(9, [&] { numbers(10, 0); });
    expectRuntimeError(9, [&] { numbers(0, 3); });
    expectRuntimeError(9, [&] { numbers(-1, 0); });
    expectRuntimeError(9, [&] { numbers(0, 0, 1); });  // dimension 3 was not given: only index 0
    expectRuntimeError(9, [&] { numbers.at(std::nan(""), 0); });
    TextArray empty;
    expectRuntimeError(9, [&] { empty(0); });  // no storage at all
    dimArray(empty, 0);
    expectRuntimeError(9, [&] { empty(0); });
}

TEST(ArrayErrors, SizesNoStorageCanHoldEndTheProgramWithError7) {
    NumArray numbers;
    expectRuntimeError(7, [&] { dimArray(numbers, 1e10); });
    expectRuntimeError(7, [&] { dimArray(numbers, 70000, 70000); });
}

} // namespace
} // namespace tarvoke
