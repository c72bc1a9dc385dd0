// The INI document: loading, lookups, changes, and the write-back's bytes and safety.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <filesystem>
#include <functional>
#include "files/ArchiveSlot.h"
#include "files/Files.h"
#include "pack/ArchiveWriter.h"
#include "platform/Files.h"
#include "support/TestSupport.h"

namespace tarvoke {
namespace {

using test::ScopedTempDir;

class IniFiles : public testing::Test {
protected:
    void SetUp() override { saveFilesAtEnd(); }
    void TearDown() override { saveFilesAtEnd(); }
    StrValue path(const char* name) const { return temp.file(name).c_str(); }
    ScopedTempDir temp;
};

TEST_F(IniFiles, LookupsFollowTheLoadersRules) {
    test::writeFile(temp.file("game.ini"),
                    "top=before any header\n"
                    "  ; a comment=no\r\n"
                    "[Player]\r\n name = Ann \r\nscore=10\t\r\nempty=\nno equals\nkey x=1\n"
                    "[My Section] \ncafe=caf\xE9\x01\r\n"
                    "[player]\nname=Bob\nlevel=3\n");
    iniOpen(path("game.ini"));
    const struct {
        const char* section;
        const char* key;
        const char* value;
    } table[] = {
        {"", "top", "before any header"},
        {"player", "NAME", "Ann "},  // trailing blanks of a value are kept, controls are not
        {"PLAYER", "score", "10"},
        {"Player", "empty", "NO_DATA"},
        {"Player", "no", "NO_DATA"},
        {"Player", "key", "NO_DATA"},
        {"Player", "level", "NO_DATA"},  // only in the second section of that name
        {"my section", "cafe", "caf\xE9"},
        {"Missing", "name", "NO_DATA"},
    };
    for (const auto& row : table)
        EXPECT_EQ(std::string(iniGet(row.section, row.key).cStr()), row.value) << row.section << "/" << row.key;
}

TEST_F(IniFiles, WriteBackHasTheDocumentsExactBytes) {
    test::writeFile(temp.file("a.ini"), "; lost\n[S]\na=1\nb=2\nc=3\n[T]\nx=1\n[Empty]\n[U]\ny=2\n[T]\nz=9\n");
    iniOpen(path("a.ini"));
    iniPut("s", "a", "");        // removed: the last key takes its place
    iniPut("S", "B", "two");     // replaced, keeping the file's spelling of the key
    iniPut("S", "new", "");      // added, even empty
    iniPut("t", "", "");         // the first T goes, the last section takes its place
    iniPut("New Section", "k", "v");
    saveFilesAtEnd();
    EXPECT_EQ(test::readFile(temp.file("a.ini")),
              "[S]\r\nc=3\r\nb=two\r\nnew=\r\n[T]\r\nz=9\r\n[U]\r\ny=2\r\n[New Section]\r\nk=v\r\n");
    iniOpen(path("a.ini"));
    EXPECT_EQ(iniGet("new section", "K"), "v");
}

TEST_F(IniFiles, OnlyAChangedDocumentIsWrittenBack) {
    const std::string original = "; comment\n[A]\nk=1\n";
    test::writeFile(temp.file("one.ini"), original);
    iniOpen(path("one.ini"));
    iniOpen(path("two.ini"));  // missing: an empty document
    EXPECT_EQ(test::readFile(temp.file("one.ini")), original);
    EXPECT_EQ(iniGet("A", "k"), "NO_DATA");
    iniPut("B", "k", "2");
    iniOpen(path("one.ini"));  // writes two.ini, which did not exist
    EXPECT_EQ(test::readFile(temp.file("two.ini")), "[B]\r\nk=2\r\n");
    EXPECT_EQ(iniGet("A", "k"), "1");
}

TEST_F(IniFiles, ADocumentFromTheArchiveIsWrittenToTheNameTheGameGave) {
    const std::string archive = temp.file("data.kqz");
    const std::string member = "[Sound]\r\nvolume=5\r\n";
    const auto bytes = pack::buildStandaloneArchive({{"options.ini", {member.begin(), member.end()}}});
    test::writeFile(archive, std::string(bytes.begin(), bytes.end()));
    ArchiveSlot slot;
    resetArchiveSlot(slot, archive);
    generalArchive = &slot;
    const std::string before = platform::currentDirectory();
    platform::setCurrentDirectory(temp.path());
    std::filesystem::create_directory(temp.file("sub"));
    iniOpen("sub\\options.ini");
    EXPECT_EQ(iniGet("sound", "volume"), "5");
    iniPut("Sound", "volume", "7");
    platform::setCurrentDirectory(before);  // the file stays where the game named it
    saveFilesAtEnd();
    generalArchive = nullptr;
    resetArchiveSlot(slot, "");
    EXPECT_EQ(test::readFile(temp.file("sub/options.ini")), "[Sound]\r\nvolume=7\r\n");
}

// A file that is there but cannot be read (a channel holds it) must not be replaced by the few
// changes made to the empty document that stood in for it.
TEST_F(IniFiles, AFileThatCouldNotBeReadIsNeverWrittenOver) {
    const std::string ini = temp.file("held.ini"), lines = temp.file("held.txt");
    test::writeFile(ini, "[A]\nk=1\n");
    test::writeFile(lines, "one\ntwo\n");
    ASSERT_EQ(openFile(5, ini.c_str(), 1), 1);
    ASSERT_EQ(openFile(6, lines.c_str(), 1), 1);
    iniOpen(ini.c_str());
    iniPut("A", "new", "2");
    putFileLine(lines.c_str(), 0, "changed");
    closeFile(5);
    closeFile(6);
    saveFilesAtEnd();
    EXPECT_EQ(test::readFile(ini), "[A]\nk=1\n");
    EXPECT_EQ(test::readFile(lines), "one\ntwo\n");
    EXPECT_EQ(test::readFile(temp.file("ErrorLog.txt")),
              "INI file not written: " + ini + "\r\nLine file not written: " + lines + "\r\n");
}

void changeBothFilesThenEnd(const std::string& ini, const std::string& lines, const std::function<void()>& prepare) {
    const std::string longText(300, 'n');
    iniOpen(ini.c_str());
    iniPut("A", "k", longText.c_str());
    putFileLine(lines.c_str(), 0, longText.c_str());
    prepare();
    endProgram();
}

// Writing back must never leave a half-written file: a folder the program may not write to, or
// a disk that fills midway, keeps the old file whole and writes an error-log line.
TEST_F(IniFiles, AFailedWriteBackKeepsTheOldFilesAndLogs) {
    GTEST_FLAG_SET(death_test_style, "fast");
    const std::string data = temp.file("data");
    const struct {
        const char* what;
        std::function<void()> prepare;  // in the child, before the program ends
    } table[] = {
        {"read-only folder", [&] {
             chmod(temp.path().c_str(), 0777);
             if (geteuid() == 0) {  // root writes anywhere: become nobody
                 (void)!chown(data.c_str(), 65534, 65534);
                 (void)!setgid(65534);
                 (void)!setuid(65534);
             }
             chmod(data.c_str(), 0555);
         }},
        {"disk full midway", [] {
             signal(SIGXFSZ, SIG_IGN);
             const rlimit limit{200, 200};  // room for the log's line, not for the new files
             setrlimit(RLIMIT_FSIZE, &limit);
         }},
    };
    mkdir(data.c_str(), 0755);
    const std::string ini = data + "/game.ini", lines = data + "/lines.txt";
    for (const auto& row : table) {
        test::writeFile(ini, "[A]\r\nk=old\r\n");
        test::writeFile(lines, "old\r\n");
        std::filesystem::remove(temp.file("ErrorLog.txt"));
        chmod(data.c_str(), 0755);
        EXPECT_EXIT(changeBothFilesThenEnd(ini, lines, row.prepare), testing::ExitedWithCode(0), "") << row.what;
        EXPECT_EQ(test::readFile(ini), "[A]\r\nk=old\r\n") << row.what;
        EXPECT_EQ(test::readFile(lines), "old\r\n") << row.what;
        EXPECT_EQ(test::readFile(temp.file("ErrorLog.txt")),
                  "INI file not written: " + ini + "\r\nLine file not written: " + lines + "\r\n")
            << row.what;
        int leftovers = 0;
        for (const auto& entry : std::filesystem::directory_iterator(data)) leftovers += entry.path().filename().string()[0] == '.';
        EXPECT_EQ(leftovers, 0) << row.what << ": a temporary file stayed behind";
    }
}

} // namespace
} // namespace tarvoke
