// The line-file cache: reads, error states that let the program go on, and write-back.
#include <gtest/gtest.h>
#include "files/Files.h"
#include "support/TestSupport.h"

namespace tarvoke {
namespace {

class LineFiles : public testing::Test {
protected:
    void SetUp() override { saveFilesAtEnd(); }
    void TearDown() override { saveFilesAtEnd(); }
    StrValue path(const char* name) const { return temp.file(name).c_str(); }
    test::ScopedTempDir temp;
};

TEST_F(LineFiles, ReadsTrimControlsOnlyAndErrorStatesLetTheProgramGoOn) {
    test::writeFile(temp.file("f.txt"), "first\r\n\t\t\n\ncaf\xC3\xA9\x02\r\n  42 \n");
    const struct {
        const char* name;
        NumValue line;
        const char* text;
        int error;
    } table[] = {
        {"f.txt", 0, "first", 0},   {"f.txt", 1, "NO_DATA", 0},  {"f.txt", 2, "NO_DATA", 0},
        {"f.txt", 3, "caf\xC3\xA9", 0}, {"f.txt", 4.9, "  42 ", 0}, {"f.txt", 5, "NO_DATA", 0},
        {"f.txt", 256, "NO_DATA", 7}, {"f.txt", -1, "NO_DATA", 7},
        {"none.txt", 0, "NO_FILE", 3}, {"none.txt", 0, "NO_DATA", 0},  // the missing name stays cached
    };
    for (const auto& row : table) {
        recordError(0);
        EXPECT_EQ(std::string(getFileLine(path(row.name), row.line).cStr()), row.text) << row.name << " " << row.line;
        EXPECT_EQ(errorCode, row.error) << row.name << " " << row.line;
    }
    EXPECT_EQ(getFileLineNumber(path("f.txt"), 4), 42);
}

TEST_F(LineFiles, FilesUsedInTurnAreWrittenBackWhenChangedKeepingEveryLine) {
    std::string text;
    for (int i = 0; i < 300; ++i) text += "line" + std::to_string(i) + "\n";
    test::writeFile(temp.file("long.txt"), text);
    test::writeFile(temp.file("b.txt"), "b0");
    putFileLineNumber(path("new.txt"), 5, 2.5);
    EXPECT_EQ(getFileLine(path("long.txt"), 255), "line255");  // writes new.txt back
    EXPECT_EQ(test::readFile(temp.file("new.txt")), "\r\n\r\n\r\n\r\n\r\n2.5\r\n");
    EXPECT_EQ(getFileLine(path("b.txt"), 0), "b0");  // long.txt is unchanged: not rewritten
    EXPECT_EQ(test::readFile(temp.file("long.txt")), text);
    putFileLine(path("b.txt"), 1, std::string(1500, 'x').c_str());  // cut to the line limit
    putFileLine(path("long.txt"), 0, "changed");  // the lines past the cache's last are kept
    saveFilesAtEnd();
    EXPECT_EQ(test::readFile(temp.file("b.txt")), "b0\r\n" + std::string(1023, 'x') + "\r\n");
    std::string expected = "changed\r\n";
    for (int i = 1; i < 300; ++i) expected += "line" + std::to_string(i) + (i < 256 ? "\r\n" : "\n");
    EXPECT_EQ(test::readFile(temp.file("long.txt")), expected);
}

} // namespace
} // namespace tarvoke
