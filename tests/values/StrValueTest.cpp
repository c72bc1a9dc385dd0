#include "tarvoke/StrValue.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <initializer_list>
#include <new>
#include <string>

using namespace tarvoke;

namespace {
std::string bytesOf(const StrValue& value) { return std::string(value.cStr(), value.length()); }
}

TEST(StrValueStorage, EmptyValueUsesSharedTextAndNeverWritesIt) {
    StrValue empty;
    EXPECT_EQ(empty.cStr(), emptyText);
    EXPECT_EQ(empty.capacity(), 0u);
    empty.setCharAt(0, 'x');
    empty.truncateAt(0);
    empty.trimTrailingControls();
    empty.recountLength();
    EXPECT_EQ(empty.charAt(0), 0);
    EXPECT_EQ(empty.length(), 0u);
    EXPECT_EQ(emptyText[0], '\0');

    StrValue taker(std::move(empty));
    EXPECT_EQ(taker.cStr(), emptyText);
    EXPECT_EQ(empty.cStr(), emptyText);
}

TEST(StrValueStorage, EveryTextConstructionOwnsA512ByteBuffer) {
    EXPECT_EQ(StrValue("").capacity(), 512u);
    EXPECT_EQ(StrValue(static_cast<const char*>(nullptr)).capacity(), 512u);
    const StrValue empty;
    EXPECT_EQ(StrValue(empty).capacity(), 512u);
    StrValue assigned;
    assigned = "";
    EXPECT_EQ(assigned.capacity(), 512u);
    EXPECT_EQ(assigned.length(), 0u);
}

TEST(StrValueStorage, ReserveRoundsUpToTheNextStepAndNeverShrinks) {
    StrValue value("kept");
    value.reserve(511);
    EXPECT_EQ(value.capacity(), 512u);
    value.reserve(512);
    EXPECT_EQ(value.capacity(), 1024u);
    value.reserve(100);
    value = "short";
    EXPECT_EQ(value.capacity(), 1024u);
    EXPECT_EQ(bytesOf(value), "short");
    EXPECT_THROW(value.reserve(0xFFFFFE00u), std::bad_alloc);  // 4 GiB would wrap to 0
    EXPECT_EQ(value.capacity(), 1024u);
}

TEST(StrValueStorage, GrowingKeepsBytesAfterAnEarlyNul) {
    StrValue value("abc");
    value.setCharAt(1, 0);
    value.reserve(2000);
    EXPECT_EQ(value.length(), 3u);
    EXPECT_EQ(value.charAt(2), 'c');
}

TEST(StrValueAppend, SixHundredSingleBytesReallocateExactlyTwice) {
    StrValue value;
    const char* buffer = value.cStr();
    int reallocations = 0;
    for (int i = 0; i < 600; ++i) {
        value += "x";
        if (value.cStr() != buffer) ++reallocations;
        buffer = value.cStr();
    }
    EXPECT_EQ(reallocations, 2);
    EXPECT_EQ(value.capacity(), 1024u);
    EXPECT_EQ(bytesOf(value), std::string(600, 'x'));
}

TEST(StrValueAppend, SourcesInsideTheValueItselfSurviveReallocation) {
    StrValue value(std::string(300, 'a').c_str());
    value.setCharAt(299, 'b');
    value += value;  // 600 bytes: the buffer moves mid-append
    EXPECT_EQ(bytesOf(value), std::string(299, 'a') + "b" + std::string(299, 'a') + "b");

    const std::string doubled = bytesOf(value);
    value.append(value.cStr() + 100);  // 1100 bytes: grows while reading its own old buffer
    EXPECT_EQ(value.capacity(), 1536u);
    EXPECT_EQ(bytesOf(value), doubled + doubled.substr(100));

    value = value.cStr() + 1095;
    EXPECT_EQ(bytesOf(value), "aaaab");
    value = value;
    EXPECT_EQ(bytesOf(value), "aaaab");
}

TEST(StrValueAppend, NumbersAppendAsTheyWouldConstruct) {
    StrValue value("n=");
    value += IntValue(-7);
    value += 2.5;
    value += 0.1f;
    EXPECT_EQ(bytesOf(value), "n=-72.50.1000000015");
}

TEST(StrValueConcat, EveryPairingJoinsConvertedOperandsAndLeavesThemUnchanged) {
    const StrValue word("ab");
    EXPECT_EQ(bytesOf(concat("a", 1.0)), "a1");
    EXPECT_EQ(bytesOf(concat(IntValue(-7), "x")), "-7x");
    EXPECT_EQ(bytesOf(concat("x", IntValue(12))), "x12");
    EXPECT_EQ(bytesOf(concat("x", 0.5f)), "x0.5");
    EXPECT_EQ(bytesOf(word + word), "abab");
    EXPECT_EQ(bytesOf(word + "c"), "abc");
    EXPECT_EQ(bytesOf("c" + word), "cab");
    EXPECT_EQ(bytesOf(word + 3.25), "ab3.25");
    EXPECT_EQ(bytesOf(1e15 + word), "1.e+015ab");
    EXPECT_EQ(bytesOf(0.25f + word), "0.25ab");
    EXPECT_EQ(bytesOf(IntValue(5) + word), "5ab");
    EXPECT_EQ(bytesOf(concat(2.0, "x")), "2x");
    EXPECT_EQ(bytesOf(word), "ab");
}

TEST(StrValueBytes, ReadAndWriteSingleBytesOnlyInsideTheText) {
    StrValue value("a\xE9z");
    EXPECT_EQ(value.charAt(1), -23);
    EXPECT_EQ(value.charAt(3), 0);
    EXPECT_EQ(value.charAt(300), 0);  // the unused tail of a buffer reads as zeros
    EXPECT_EQ(value.charAt(value.capacity()), 0);
    value.setCharAt(0, 0x141);  // only the low byte is kept
    value.setCharAt(3, 'q');    // the terminator is left alone
    EXPECT_EQ(bytesOf(value), "A\xE9z");
    EXPECT_STREQ(value.cStr(), "A\xE9z");
    value.truncateAt(value.capacity());
    EXPECT_EQ(value.length(), 3u);
    value.truncateAt(1);
    EXPECT_EQ(bytesOf(value), "A");
}

TEST(StrValueBytes, RecountAfterWritingIntoTheBuffer) {
    StrValue value;
    char* buffer = value.writableBuffer(10);
    std::memcpy(buffer, "hi\0there", 9);
    value.recountLength();
    EXPECT_EQ(bytesOf(value), "hi");

    buffer = value.writableBuffer(600);
    std::memset(buffer, 'z', value.capacity());  // no terminator anywhere
    value.recountLength();
    EXPECT_EQ(value.length(), value.capacity() - 1);
    EXPECT_EQ(value.charAt(value.length()), 0);
}

TEST(StrValueBytes, CaseMappingAndTrimmingTouchOnlyTheirBytes) {
    const StrValue mixed("aZ\xDF\xE9!");
    EXPECT_EQ(bytesOf(mixed.upperCase()), "AZ\xDF\xE9!");
    EXPECT_EQ(bytesOf(mixed.lowerCase()), "az\xDF\xE9!");
    EXPECT_EQ(bytesOf(mixed), "aZ\xDF\xE9!");

    StrValue trimmed("ab\x01\xE9");
    trimmed.trimTrailingControls();
    EXPECT_EQ(bytesOf(trimmed), "ab");
    StrValue spaced("ab \x1F");
    spaced.trimTrailingControls();
    EXPECT_EQ(bytesOf(spaced), "ab ");
}

TEST(StrValueSearch, FindTextGivesZeroBasedPositions) {
    EXPECT_EQ(findText("hello", "lo"), 3);
    EXPECT_EQ(findText("hello", ""), 0);
    EXPECT_EQ(findText("hello", "x"), -1);
    EXPECT_EQ(findText(StrValue("hello"), StrValue("l")), 2);
    EXPECT_EQ(findText(StrValue(), "a"), -1);
}

TEST(StrValueCompare, TextOrderIsUnsignedBytewise) {
    EXPECT_EQ(compareText("abc", "abd", Compare::Less), 1);
    EXPECT_EQ(compareText("ab", "abc", Compare::Less), 1);
    EXPECT_EQ(compareText("abc", "ab", Compare::GreaterEqual), 1);
    EXPECT_EQ(StrValue("\xE9") > "z", 1);
    EXPECT_EQ("z" < StrValue("\xE9"), 1);
    EXPECT_EQ(StrValue("same") == StrValue("same"), 1);
    EXPECT_EQ(StrValue("same") != "same", 0);
    EXPECT_EQ(StrValue("a") <= StrValue("a"), 1);
}

TEST(StrValueCompare, TwoValuesAreEqualOnlyWithEqualLengths) {
    StrValue cut("abc");
    cut.setCharAt(1, 0);
    const StrValue shortOne("a");
    EXPECT_EQ(cut == shortOne, 0);
    EXPECT_EQ(cut != shortOne, 1);
    EXPECT_EQ(cut == "a", 1);  // a plain text has no length of its own to compare
    EXPECT_EQ(cut >= shortOne, 1);
}

TEST(StrValueCompare, TextAgainstNumberComparesTheTextsValue) {
    EXPECT_EQ(StrValue("12abc") == 12, 1);
    EXPECT_EQ(StrValue("abc") == 0, 1);
    EXPECT_EQ(StrValue("2.5") < 3.0, 1);
    EXPECT_EQ(3.0 < StrValue("2.5"), 0);
    EXPECT_EQ(IntValue(2) < StrValue("2.5"), 1);
    EXPECT_EQ(compareTextNumber("1e999", INFINITY, Compare::Equal), 1);

    const NumValue nan = std::nan("");
    for (const Compare op : {Compare::Equal, Compare::Less, Compare::LessEqual, Compare::Greater,
                             Compare::GreaterEqual}) {
        EXPECT_EQ(compareTextNumber("1", nan, op), 0);
        EXPECT_EQ(compareTextNumber(nan, StrValue("1"), op), 0);
    }
    EXPECT_EQ(compareTextNumber("1", nan, Compare::NotEqual), 1);

    EXPECT_EQ(compareTextNumber("1", 2.0), -1);
    EXPECT_EQ(compareTextNumber(StrValue("2"), 2.0), 0);
    EXPECT_EQ(compareTextNumber("3", 2.0), 1);
    EXPECT_EQ(compareTextNumber("3", nan), 1);
}
