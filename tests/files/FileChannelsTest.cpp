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

struct RoundTrip {
    const char* what;
    std::function<void()> write;       // on channel 0
    std::string bytes;                  // what lands in the file
    std::function<NumValue()> readBack; // on channel 0, the value read
    NumValue expected;
};

NumValue readWith(void (*read)(NumValue, NumValue&)) {
    NumValue value = -1;
    read(0, value);
    return value;
}

TEST(FileChannels, EveryWriteLandsLittleEndianAndReadsBack) {
    const std::vector<RoundTrip> table = {
        {"byte 300", [] { writeByte(0, 300); }, "\x2C", [] { return readWith(readByte); }, 44},
        {"byte -1", [] { writeByte(0, -1); }, "\xFF", [] { return readWith(readByte); }, 255},
        {"word -2", [] { writeWord(0, -2); }, "\xFE\xFF", [] { return readWith(readWord); }, 65534},
        {"long -2", [] { writeLong(0, -2.9); }, "\xFE\xFF\xFF\xFF", [] { return readWith(readLong); }, -2},
        {"long max", [] { writeLong(0, 2147483647); }, "\xFF\xFF\xFF\x7F", [] { return readWith(readLong); }, 2147483647},
        {"ieee 1.5", [] { writeIeee(0, 1.5); }, std::string("\0\0\0\0\0\0\xF8\x3F", 8), [] { return readWith(readIeee); }, 1.5},
        {"text", [] { writeText(0, "abc"); }, "abc", [] {
             StrValue text;
             readText(0, text, 3);
             return NumValue(text == "abc");
         }, 1},
        {"line", [] { writeLine(0, "x y"); }, "x y\r\n", [] {
             StrValue text;
             readLine(0, text);
             return NumValue(text == "x y");
         }, 1},
        {"line number", [] { writeLineNumber(0, 0.5); }, "0.5\r\n", [] { return readWith(readLineNumber); }, 0.5},
    };
    ScopedTempDir temp;
    const StrValue path = temp.file("data.bin").c_str();
    for (const RoundTrip& row : table) {
        ASSERT_EQ(openFile(0, path, 0), 1) << row.what;
        EXPECT_EQ(endOfFile(0), 1) << row.what;  // a file being written is at its end
        row.write();
        closeFile(0);
        EXPECT_EQ(test::readFile(path.cStr()), row.bytes) << row.what;
        ASSERT_EQ(openFile(0, path, 1), 1) << row.what;
        EXPECT_EQ(endOfFile(0), 0) << row.what;
        EXPECT_EQ(row.readBack(), row.expected) << row.what;
        EXPECT_EQ(endOfFile(0), 1) << row.what;
    }
    closeFile(0);
}

TEST(FileChannels, ReadLineSplitsAtLfDropsCrAndKeepsALastLineWithoutEnd) {
    const std::string long1500(1500, 'x');
    const std::string last64(64, 'y');  // a whole piece of the reader, then the file ends
    const struct {
        std::string bytes;
        std::vector<std::string> lines;
    } table[] = {
        {"A\r\nB", {"A", "B"}},
        {"A\nB\n", {"A", "B"}},
        {"\r\n\n\r", {"", "", ""}},
        {"ab" + std::string(1, '\0') + "cd\nef", {"ab", "ef"}},
        {long1500, {long1500.substr(0, 1024), long1500.substr(1024)}},
        {"first\n" + last64, {"first", last64}},
        {std::string(1024, 'z'), {std::string(1024, 'z')}},
    };
    ScopedTempDir temp;
    const std::string path = temp.file("lines.txt");
    for (const auto& row : table) {
        test::writeFile(path, row.bytes);
        ASSERT_EQ(openFile(3, path.c_str(), 1), 1);
        for (const std::string& expected : row.lines) {
            ASSERT_EQ(endOfFile(3), 0);
            StrValue line;
            readLine(3, line);
            EXPECT_EQ(std::string(line.cStr()), expected);
        }
        EXPECT_EQ(endOfFile(3), 1) << row.bytes.size() << " bytes";
    }
    // A line read leaves the file just after its LF.
    test::writeFile(path, "A\r\nB");
    openFile(3, path.c_str(), 1);
    StrValue line;
    NumValue byte = 0;
    readLine(3, line);
    readByte(3, byte);
    EXPECT_EQ(byte, 'B');
    closeFile(3);
}

TEST(FileChannels, ReadTextStopsAtNulAndCountZeroNeedsNoChannel) {
    ScopedTempDir temp;
    test::writeFile(temp.file("t"), std::string("ab\0cd", 5));
    StrValue text = "old";
    readText(99, text, 0);  // no channel is looked at
    EXPECT_EQ(text, "");
    openFile(1, temp.file("t").c_str(), 1);
    readText(1, text, 5);
    EXPECT_EQ(text, "ab");
    EXPECT_EQ(endOfFile(1), 1);
    closeFile(1);
}

TEST(FileChannels, OpeningRefusesMissingFilesFifosAndFilesAnotherChannelHolds) {
    ScopedTempDir temp;
    const std::string path = temp.file("held.txt"), fifo = temp.file("fifo");
    test::writeFile(path, "kept");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(openFile(0, temp.file("missing").c_str(), 1), 0);
    EXPECT_EQ(openFile(0, fifo.c_str(), 1), 0);  // would block for ever if it were opened
    EXPECT_EQ(openFile(0, fifo.c_str(), 0), 0);
    EXPECT_EQ(openFile(0, path.c_str(), 1), 1);
    EXPECT_EQ(openFile(1, path.c_str(), 1), 0);
    EXPECT_EQ(openFile(1, path.c_str(), 0), 0);
    EXPECT_EQ(test::readFile(path), "kept");  // a held file is not emptied
    closeFile(0);
    EXPECT_EQ(openFile(1, path.c_str(), 0), 1);
    EXPECT_EQ(fileSize(path.c_str()), 0);
    closeFile(1);
}

TEST(WholeFiles, SizeExistenceDeletionCopyAndSlashes) {
    ScopedTempDir temp;
    std::string bytes(10000, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = char(i * 31);
    const std::string source = temp.file("source.bin"), copy = temp.file("copy.bin");
    test::writeFile(source, bytes);
    EXPECT_EQ(fileSize(source.c_str()), 10000);
    EXPECT_EQ(fileExists(source.c_str()), 1);
    EXPECT_EQ(fileExists(temp.path().c_str()), 0);  // a folder is not a file
    copyFile(source.c_str(), copy.c_str());
    EXPECT_EQ(test::readFile(copy), bytes);
    copyFile(temp.file("missing").c_str(), copy.c_str());
    EXPECT_EQ(test::readFile(copy), bytes);  // untouched
    copyFile(source.c_str(), source.c_str());
    EXPECT_EQ(test::readFile(source), bytes);  // a copy onto itself must not empty the file
    EXPECT_EQ(deleteFile(copy.c_str()), 1);
    EXPECT_EQ(deleteFile(copy.c_str()), 0);
    EXPECT_EQ(fileSize(copy.c_str()), 0);
    StrValue slashes = "a\\b\\c";
    EXPECT_EQ(toForwardSlashes(slashes), 5);
    EXPECT_EQ(slashes, "a/b/c");
    EXPECT_EQ(fileExists(concat(temp.path().c_str(), "\\source.bin")), 1);
}

class ChannelErrors : public testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "fast"); }
    ScopedTempDir temp;
};

TEST_F(ChannelErrors, EndTheProgramWithTheDebugEndRecord) {
    test::writeFile(temp.file("short"), "abc");
    const std::string shortFile = temp.file("short");
    const struct {
        const char* what;
        std::function<void()> action;
        int code;
    } table[] = {
        {"read on a closed channel", [] { NumValue v; readByte(2, v); }, 3},
        {"short read", [&] { NumValue v; openFile(2, shortFile.c_str(), 1); readLong(2, v); }, 3},
        {"short text", [&] { StrValue t; openFile(2, shortFile.c_str(), 1); readText(2, t, 4); }, 3},
        {"line at the end", [&] { StrValue t; openFile(2, shortFile.c_str(), 1); readLine(2, t); readLine(2, t); }, 3},
        {"write on a closed channel", [] { writeLine(2, "x"); }, 3},
        {"write on a file opened for reading", [&] { openFile(2, shortFile.c_str(), 1); writeByte(2, 1); }, 3},
        {"channel 8", [] { closeFile(8); }, 7},
        {"channel -0.5", [] { endOfFile(-0.5); }, 7},
        {"channel NaN", [] { openFile(std::nan(""), "x", 1); }, 7},
        {"write on channel 9", [] { writeIeee(9, 1); }, 7},
    };
    projectSettings.debugMode = 1;
    setDebugPosition(5, 42);
    for (const auto& row : table) {
        test::writeFile(temp.file("ErrorLog.txt"), "");
        EXPECT_EXIT(row.action(), testing::ExitedWithCode(0), "") << row.what;
        EXPECT_EQ(test::readFile(temp.file("ErrorLog.txt")),
                  "-End On Line\r\n" + std::to_string(row.code) + "\r\n41\r\n42\r\n5\r\n")
            << row.what;
    }
    projectSettings.debugMode = 0;
}

} // namespace
} // namespace tarvoke
