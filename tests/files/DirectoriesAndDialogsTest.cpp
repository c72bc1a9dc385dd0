// The current directory, its listing, the file dialogs and the system queries.
#include <gtest/gtest.h>
#include <filesystem>
#include <regex>
#include "files/Directories.h"
#include "files/SystemInfo.h"
#include "graphics2d/OpenGLKestrel.h"
#include "platform/Files.h"
#include "platform/Video.h"
#include "support/TestSupport.h"

namespace tarvoke {
namespace {

using test::ScopedTempDir;

// Runs the test inside a fresh folder and comes back to where it was.
class InFolder : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(setCurrentDir(temp.path().c_str()), 1); }
    void TearDown() override { platform::setCurrentDirectory(previous); }
    ScopedTempDir temp;
    std::string previous = platform::currentDirectory();
};

TEST(MatchWildcard, Table) {
    const struct { const char* pattern; const char* name; bool matches; } cases[] = {
        {"a?c", "abc", true},       {"a?c", "a.c", false},       {"*.*", "README", false},
        {"*", "", true},            {"*", "any.thing.at.all", true}, {"*.png", "a.PNG", true},
        {"*.png", "a.png.txt", false}, {"*a*b", "xaab", true},    {"**b", "ab", true},
        {"a*", "a", true},          {"?", "", false},            {"", "", true},
        {"", "a", false},           {"*x*y*z", "axbyyzz", true}, {"a*c?", "abcbcd", true},
    };
    for (const auto& c : cases) EXPECT_EQ(matchWildcard(c.pattern, c.name), c.matches) << c.pattern << " / " << c.name;
}

TEST_F(InFolder, FoldersComeFirstWhateverThePatternThenMatchingFiles) {
    for (const char* name : {"b.txt", "a.PNG", "c.png"}) test::writeFile(temp.file(name), "x");
    std::filesystem::create_directory(temp.file("gfx"));
    TextArray names;
    EXPECT_EQ(getFileList("*.png", names), 2 + 3 * 65536);
    ASSERT_EQ(names.shape().size1, 5);
    const char* expected[] = {".", "..", "gfx", "a.PNG", "c.png"};
    for (IntValue i = 0; i < 5; ++i) EXPECT_STREQ(names(i).cStr(), expected[i]);
    EXPECT_EQ(getFileList("*.none", names), 3 * 65536);
    EXPECT_EQ(names.shape().size1, 3);
}

TEST_F(InFolder, TheCurrentDirectoryEndsInOneSlashAndFollowsChanges) {
    EXPECT_EQ(std::string(getCurrentDir().cStr()), temp.path() + "/");
    std::filesystem::create_directory(temp.file("sub"));
    EXPECT_EQ(setCurrentDir("sub\\"), 1);
    EXPECT_EQ(std::string(getCurrentDir().cStr()), temp.path() + "/sub/");
    EXPECT_EQ(setCurrentDir("no-such-folder"), 0);
    EXPECT_EQ(setCurrentDir("/"), 1);
    EXPECT_STREQ(getCurrentDir().cStr(), "/");
}

// A stand-in dialog helper on PATH: records its arguments, prints $ANSWER, exits with $CODE.
class FileDialog : public InFolder {
protected:
    void SetUp() override {
        InFolder::SetUp();
        std::filesystem::create_directory(temp.file("bin"));
        oldPath = getenv("PATH");
        setenv("PATH", temp.file("bin").c_str(), 1);
        unsetenv("XDG_CURRENT_DESKTOP");
    }
    void TearDown() override {
        setenv("PATH", oldPath.c_str(), 1);
        InFolder::TearDown();
    }
    void installHelper(const char* name) {
        const std::string path = temp.file("bin/") + name;
        test::writeFile(path, "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$ARGS_FILE\"\nprintf '%s' \"$ANSWER\"\nexit $CODE\n");
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    }
    std::string request(NumValue mode, const char* answer, const char* code) {
        setenv("ARGS_FILE", temp.file("args").c_str(), 1);
        setenv("ANSWER", answer, 1);
        setenv("CODE", code, 1);
        return fileRequest(mode, "Pictures|*.png; *.bmp|All|*.*||Ignored|*.x").cStr();
    }
    std::string arguments() { return test::readFile(temp.file("args")); }
    std::string oldPath;
};

TEST_F(FileDialog, NoHelperOrACancelGivesNoFile) {
    EXPECT_EQ(request(1, "/x", "0"), "NO_FILE");
    installHelper("zenity");
    EXPECT_EQ(request(1, "", "1"), "NO_FILE");
}

TEST_F(FileDialog, ZenityGetsTheFolderAndFiltersAndItsAnswerComesBack) {
    installHelper("zenity");
    EXPECT_EQ(request(1, "/home/a b/pic.png\n", "0"), "/home/a b/pic.png");
    const std::string folder = "--filename=" + temp.path() + "/\n";
    EXPECT_EQ(arguments(), "--file-selection\n" + folder + "--file-filter=Pictures | *.png *.bmp\n--file-filter=All | *\n");
    EXPECT_EQ(request(0, "/tmp/new.sav", "0"), "/tmp/new.sav");
    EXPECT_NE(arguments().find("--save\n"), std::string::npos);
    EXPECT_EQ(platform::currentDirectory(), temp.path());
}

TEST_F(FileDialog, KdialogServesTheKdeDesktop) {
    installHelper("zenity");
    installHelper("kdialog");
    setenv("XDG_CURRENT_DESKTOP", "KDE", 1);
    EXPECT_EQ(request(0, "/tmp/k.sav\n", "0"), "/tmp/k.sav");
    unsetenv("XDG_CURRENT_DESKTOP");
    EXPECT_EQ(arguments(), "--getsavefilename\n" + temp.path() + "/\n*.png *.bmp|Pictures\n*|All\n");
}

TEST_F(FileDialog, TheMainWindowComesBackAfterTheDialog) {
    test::EngineRun engine;
    installHelper("zenity");
    EXPECT_EQ(request(1, "/tmp/a.png", "0"), "/tmp/a.png");
    EXPECT_TRUE(platform::isWindowShown(openGLKestrel->main.window));
}

TEST(SystemInfo, TimeFormatTable) {
    const struct { platform::LocalTime time; const char* text; } cases[] = {
        {{2008, 7, 5, 9, 5, 3}, "2008-7-5  9: 5: 3"},
        {{1999, 12, 31, 23, 59, 59}, "1999-12-31 23:59:59"},
        {{2024, 1, 10, 0, 0, 0}, "2024-1-10  0: 0: 0"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatLocalTime(c.time), c.text);
}

TEST(SystemInfo, TheIdentifierIsWrittenLowestByteFirst) {
    const std::string a = formatMachineId(0x11223344u), b = formatMachineId(0x11223345u);
    EXPECT_TRUE(std::regex_match(a, std::regex("[0-9A-F]{8}")));
    EXPECT_NE(a.substr(0, 2), b.substr(0, 2));
    EXPECT_EQ(a.substr(2), b.substr(2));
}

TEST(SystemInfo, QueriesAnswerInUpperCaseAndTurnTheQueryToUpperCase) {
    const struct { const char* query; const char* answer; } cases[] = {
        {"", "LINUX"}, {"device", "DESKTOP"}, {"Devices", "NO_DATA"}, {"glext:GL_ARB_multitexture", "0"},
        {"id", "[0-9A-F]{8}"}, {"time", "\\d{4}-\\d{1,2}-\\d{1,2} [ \\d]\\d:[ \\d]\\d:[ \\d]\\d"},
        {"battery", "\\d{1,2}|100|255"},
    };
    for (const auto& c : cases) {
        StrValue query = c.query;
        const std::string answer = systemInfo(query).cStr();
        EXPECT_TRUE(std::regex_match(answer, std::regex(c.answer))) << c.query << " -> " << answer;
        EXPECT_STREQ(query.cStr(), StrValue(c.query).upperCase().cStr());
    }
    EXPECT_STREQ(systemInfo("ID").cStr(), systemInfo("id").cStr());
}

TEST(SystemInfo, ExtensionsAreAskedOfTheWindowsContextInTheGivenCase) {
    test::EngineRun engine;
    EXPECT_STREQ(systemInfo("GLEXT:GL_ARB_multitexture").cStr(), "1");
    EXPECT_STREQ(systemInfo("GLEXT:gl_arb_multitexture").cStr(), "0");
    EXPECT_STREQ(systemInfo("GLEXT:GL_ARB_no_such_thing").cStr(), "0");
}

} // namespace
} // namespace tarvoke
