// File channels and whole-file helpers: byte-exact round trips, the line reader, and the runtime
// errors that end the program.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <cmath>
#include <functional>
#include "support/TestSupport.h"

namespace tarvoke {
namespace {

using test::ScopedTempDir;
using Reader = void (*)(NumValue, NumValue&);

StrValue readNumber(Reader read) {
    NumValue value = -1;
    read(0, value);
    return formatNumber(value);
}

StrValue readTextOf(NumValue count) {
    StrValue text = "old";
    readText(0, text, count);
    return text;
}

TEST(FileChannels, EveryWriteLandsLittleEndianAndReadsBack) {
    const struct {
        std::function<void()> write;  // on channel 0
        std::string bytes;
        std::function<StrValue()> read;
        const char* value;
    } table[] = {
        {[] { writeByte(0, 300); }, "\x2C", [] { return readNumber(readByte); }, "44"},
        {[] { writeByte(0, -1); }, "\xFF", [] { return readNumber(readByte); }, "255"},
        {[] { writeWord(0, -2); }, "\xFE\xFF", [] { return readNumber(readWord); }, "65534"},
        {[] { writeLong(0, -2.9); }, "\xFE\xFF\xFF\xFF", [] { return readNumber(readLong); }, "-2"},
        {[] { writeIeee(0, 1.5); }, std::string("\0\0\0\0\0\0\xF8\x3F", 8), [] { return readNumber(readIeee); }, "1.5"},
        {[] { writeText(0, "ab"); }, "ab", [] { return readTextOf(2); }, "ab"},
        {[] { writeLine(0, "x y"); writeByte(0, 0); }, std::string("x y\r\n\0", 6), [] { return readTextOf(6); }, "x y\r\n"},
        {[] { writeLineNumber(0, 0.5); }, "0.5\r\n", [] { return readNumber(readLineNumber); }, "0.5"},
        {[] { writeLine(0, "A"); writeByte(0, 'B'); }, "A\r\nB", [] {  // a line read stops right after its LF
             StrValue line;
             readLine(0, line);
             return line + readNumber(readByte);
         }, "A66"},
    };
    ScopedTempDir temp;
    const StrValue path = temp.file("data.bin").c_str();
    for (const auto& row : table) {
        ASSERT_EQ(openFile(0, path, 0), 1);
        EXPECT_EQ(endOfFile(0), 1);  // a file being written is at its end
        row.write();
        closeFile(0);
        EXPECT_EQ(test::readFile(path.cStr()), row.bytes);
        ASSERT_EQ(openFile(0.9, path, 1), 1);  // channel numbers truncate
        EXPECT_EQ(endOfFile(0), 0);
        EXPECT_EQ(std::string(row.read().cStr()), row.value);
        EXPECT_EQ(endOfFile(0), 1) << row.value;
    }
    EXPECT_EQ(readTextOf(0), "");  // a count of 0 reads nothing
    closeFile(0);
}

TEST(FileChannels, ReadLineSplitsAtLfDropsCrAndKeepsALastLineWithoutEnd) {
    const std::string long1500(1500, 'x'), last64(64, 'y');  // 64: one whole piece of the reader
    const struct {
        std::string bytes;
        std::vector<std::string> lines;
    } table[] = {
        {"A\r\nB", {"A", "B"}},
        {"A\nB\n", {"A", "B"}},
        {"\r\n\n\r", {"", "", ""}},
        {std::string("ab\0cd\nef", 8), {"ab", "ef"}},
        {long1500, {long1500.substr(0, 1024), long1500.substr(1024)}},
        {"first\n" + last64, {"first", last64}},
    };
    ScopedTempDir temp;
    const std::string path = temp.file("lines.txt");
    for (const auto& row : table) {
        test::writeFile(path, row.bytes);
        ASSERT_EQ(openFile(3, path.c_str(), 1), 1);
        for (const std::string& expected : row.lines) {
            StrValue line;
            readLine(3, line);
            EXPECT_EQ(std::string(line.cStr()), expected);
        }
        EXPECT_EQ(endOfFile(3), 1);
    }
    closeFile(3);
}

TEST(WholeFiles, OpenSizeExistenceDeletionCopyAndSlashes) {
    ScopedTempDir temp;
    std::string bytes(10000, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = char(i * 31);
    const std::string source = temp.file("source.bin"), copy = temp.file("copy.bin"), fifo = temp.file("fifo");
    test::writeFile(source, bytes);
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(openFile(0, temp.file("missing").c_str(), 1), 0);
    EXPECT_EQ(openFile(0, fifo.c_str(), 1), 0);  // would block for ever if it were opened
    EXPECT_EQ(openFile(0, source.c_str(), 1), 1);
    EXPECT_EQ(openFile(1, source.c_str(), 0), 0);  // held by channel 0: neither opened nor emptied
    closeFile(0);
    EXPECT_EQ(fileSize(source.c_str()), 10000);
    EXPECT_EQ(fileExists(concat(temp.path().c_str(), "\\source.bin")), 1);
    EXPECT_EQ(fileExists(temp.path().c_str()), 0);  // a folder is not a file
    copyFile(source.c_str(), copy.c_str());
    EXPECT_EQ(test::readFile(copy), bytes);
    copyFile(temp.file("missing").c_str(), copy.c_str());
    copyFile(source.c_str(), source.c_str());  // onto itself: must not empty it
    EXPECT_EQ(test::readFile(copy), bytes);
    EXPECT_EQ(test::readFile(source), bytes);
    EXPECT_EQ(deleteFile(copy.c_str()), 1);
    EXPECT_EQ(deleteFile(copy.c_str()), 0);
    StrValue slashes = "a\\b\\c";
    EXPECT_EQ(toForwardSlashes(slashes), 5);
    EXPECT_EQ(slashes, "a/b/c");
}

TEST(ChannelErrors, EndTheProgramWithTheDebugEndRecord) {
    GTEST_FLAG_SET(death_test_style, "fast");
    ScopedTempDir temp;
    test::writeFile(temp.file("short"), "abc");
    const StrValue shortFile = temp.file("short").c_str();
    const struct {
        std::function<void()> action;
        int code;
    } table[] = {
        {[] { NumValue v; readByte(2, v); }, 3},  // closed channel
        {[&] { NumValue v; openFile(2, shortFile, 1); readLong(2, v); }, 3},
        {[&] { StrValue t; openFile(2, shortFile, 1); readText(2, t, 4); }, 3},
        {[&] { StrValue t; openFile(2, shortFile, 1); readLine(2, t); readLine(2, t); }, 3},
        {[] { writeLine(2, "x"); }, 3},
        {[&] { openFile(2, shortFile, 1); writeByte(2, 1); }, 3},
        {[] { closeFile(8); }, 7},
        {[] { endOfFile(-0.5); }, 7},
        {[] { openFile(std::nan(""), "x", 1); }, 7},
    };
    projectSettings.debugMode = 1;
    setDebugPosition(5, 42);
    for (const auto& row : table) {
        test::writeFile(temp.file("ErrorLog.txt"), "");
        EXPECT_EXIT(row.action(), testing::ExitedWithCode(0), "");
        EXPECT_EQ(test::readFile(temp.file("ErrorLog.txt")),
                  "-End On Line\r\n" + std::to_string(row.code) + "\r\n41\r\n42\r\n5\r\n");
    }
    projectSettings.debugMode = 0;
}

} // namespace
} // namespace tarvoke
