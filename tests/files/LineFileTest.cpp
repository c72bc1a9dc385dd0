// The line-file cache: reads, error states that let the program go on, and write-back.
#include <gtest/gtest.h>
#include "files/Files.h"
#include "support/TestSupport.h"

namespace tarvoke {
namespace {

using test::ScopedTempDir;

class LineFiles : public testing::Test {
protected:
    void SetUp() override {
        saveFilesAtEnd();
        recordError(0);
    }
    void TearDown() override { saveFilesAtEnd(); }
    StrValue path(const char* name) const { return temp.file(name).c_str(); }
    ScopedTempDir temp;
};

TEST_F(LineFiles, LinesReadBackTrimmedOfControlsOnly) {
    test::writeFile(temp.file("f.txt"), "first\r\n\t\t\n\ncaf\xC3\xA9\x02\r\n  42 \n");
    const struct {
        NumValue line;
        const char* text;
        int error;
    } table[] = {
        {0, "first", 0}, {1, "NO_DATA", 0}, {2, "NO_DATA", 0}, {3, "caf\xC3\xA9", 0},
        {4.9, "  42 ", 0}, {5, "NO_DATA", 0}, {255, "NO_DATA", 0}, {256, "NO_DATA", 7}, {-1, "NO_DATA", 7},
    };
    for (const auto& row : table) {
        recordError(0);
        EXPECT_EQ(std::string(getFileLine(path("f.txt"), row.line).cStr()), row.text) << "line " << row.line;
        EXPECT_EQ(errorCode, row.error) << "line " << row.line;
    }
    EXPECT_EQ(getFileLineNumber(path("f.txt"), 4), 42);
    EXPECT_EQ(getFileLineNumber(path("f.txt"), 0), 0);
}

TEST_F(LineFiles, AMissingFileIsNoFileOnceThenAnEmptyCache) {
    EXPECT_EQ(getFileLine(path("none.txt"), 0), "NO_FILE");
    EXPECT_EQ(errorCode, 3);
    recordError(0);
    EXPECT_EQ(getFileLine(path("none.txt"), 0), "NO_DATA");
    EXPECT_EQ(errorCode, 0);
    putFileLineNumber(path("none.txt"), 5, 2.5);
    saveFilesAtEnd();
    EXPECT_EQ(test::readFile(temp.file("none.txt")), "\r\n\r\n\r\n\r\n\r\n2.5\r\n");
}

TEST_F(LineFiles, FilesUsedInTurnAreEachWrittenBackWhenChanged) {
    test::writeFile(temp.file("a.txt"), "a0\na1\n");
    test::writeFile(temp.file("b.txt"), "b0");
    putFileLine(path("a.txt"), 0, "A0");
    EXPECT_EQ(getFileLine(path("b.txt"), 0), "b0");  // selecting b writes a back
    EXPECT_EQ(test::readFile(temp.file("a.txt")), "A0\r\na1\r\n");
    EXPECT_EQ(test::readFile(temp.file("b.txt")), "b0");  // unchanged: not rewritten
    putFileLine(path("b.txt"), 1, std::string(1500, 'x').c_str());  // cut to the line limit
    EXPECT_EQ(getFileLine(path("a.txt"), 1), "a1");
    EXPECT_EQ(test::readFile(temp.file("b.txt")), "b0\r\n" + std::string(1023, 'x') + "\r\n");
}

TEST_F(LineFiles, LinesPastTheCacheAreKeptByTheWriteBack) {
    std::string text;
    for (int i = 0; i < 300; ++i) text += "line" + std::to_string(i) + "\n";
    test::writeFile(temp.file("long.txt"), text);
    EXPECT_EQ(getFileLine(path("long.txt"), 255), "line255");
    putFileLine(path("long.txt"), 0, "changed");
    saveFilesAtEnd();
    std::string expected = "changed\r\n";
    for (int i = 1; i < 256; ++i) expected += "line" + std::to_string(i) + "\r\n";
    for (int i = 256; i < 300; ++i) expected += "line" + std::to_string(i) + "\n";
    EXPECT_EQ(test::readFile(temp.file("long.txt")), expected);
}

} // namespace
} // namespace tarvoke
