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

class IniFiles : public testing::Test {
protected:
    void SetUp() override { saveFilesAtEnd(); }
    void TearDown() override { saveFilesAtEnd(); }
    StrValue path(const char* name) const { return temp.file(name).c_str(); }
    test::ScopedTempDir temp;
};

TEST_F(IniFiles, LookupsFollowTheLoadersRules) {
    test::writeFile(temp.file("game.ini"), "top=before any header\n  ; a comment=no\r\n"
                                           "[Player]\r\n name = Ann \r\nscore=10\t\r\nempty=\nctl=\x01\nno equals\nkey x=1\n"
                                           "[My Section] \ncafe=caf\xE9\x01\r\n[player]\nname=Bob\nlevel=3\n");
    iniOpen(path("game.ini"));
    const char* table[][3] = {
        {"", "top", "before any header"}, {"player", "NAME", "Ann "}, {"PLAYER", "score", "10"},
        {"Player", "empty", "NO_DATA"},   {"Player", "ctl", "NO_DATA"}, {"Player", "key", "NO_DATA"},
        {"Player", "level", "NO_DATA"},   // only in the second section of that name
        {"my section", "cafe", "caf\xE9"}, {"Missing", "name", "NO_DATA"},
    };
    for (const auto& row : table) EXPECT_EQ(std::string(iniGet(row[0], row[1]).cStr()), row[2]) << row[0] << "/" << row[1];
}

TEST_F(IniFiles, ChangesAreWrittenBackOnlyWhenMadeWithTheDocumentsExactBytes) {
    const std::string original = "; lost\n[S]\na=1\nb=2\nc=3\n[T]\nx=1\n[Empty]\n[U]\ny=2\n[T]\nz=9\n";
    test::writeFile(temp.file("a.ini"), original);
    iniOpen(path("a.ini"));
    iniOpen(path("b.ini"));  // unchanged: a.ini is not rewritten; b.ini is missing
    EXPECT_EQ(test::readFile(temp.file("a.ini")), original);
    iniPut("B", "k", "2");
    iniOpen(path("a.ini"));  // creates b.ini
    EXPECT_EQ(test::readFile(temp.file("b.ini")), "[B]\r\nk=2\r\n");
    iniPut("s", "a", "");        // removed: the last key takes its place
    iniPut("S", "B", "two");     // replaced, keeping the file's spelling of the key
    iniPut("S", "new", "");      // added, even empty
    iniPut("t", "", "");         // the first T goes, the last section takes its place
    iniPut("New Section", "k", "v");
    saveFilesAtEnd();
    EXPECT_EQ(test::readFile(temp.file("a.ini")),
              "[S]\r\nc=3\r\nb=two\r\nnew=\r\n[T]\r\nz=9\r\n[U]\r\ny=2\r\n[New Section]\r\nk=v\r\n");
}

TEST_F(IniFiles, ADocumentFromTheArchiveIsWrittenToTheNameTheGameGave) {
    const std::string member = "[Sound]\r\nvolume=5\r\n";
    const auto bytes = pack::buildStandaloneArchive({{"options.ini", {member.begin(), member.end()}}});
    test::writeFile(temp.file("data.kqz"), std::string(bytes.begin(), bytes.end()));
    ArchiveSlot slot;
    resetArchiveSlot(slot, temp.file("data.kqz"));
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

void changeBothFilesThenEnd(const std::string& ini, const std::string& lines, const std::function<void()>& prepare) {
    prepare();
    iniOpen(ini.c_str());
    iniPut("A", "k", std::string(300, 'n').c_str());
    putFileLine(lines.c_str(), 0, std::string(300, 'n').c_str());
    endProgram();
}

// Writing back never leaves a half-written file nor writes over one it could not read: a folder
// the program may not write to, a disk that fills midway, or files a channel holds keep the old
// files whole and write an error-log line each.
TEST_F(IniFiles, AFailedWriteBackKeepsTheOldFilesAndLogs) {
    GTEST_FLAG_SET(death_test_style, "fast");
    const std::string data = temp.file("data"), ini = data + "/game.ini", lines = data + "/lines.txt";
    const std::function<void()> table[] = {
        [&] {  // a read-only folder; root writes anywhere, so the child becomes nobody first
            chmod(temp.path().c_str(), 0777);
            if (geteuid() == 0 && (chown(data.c_str(), 65534, 65534) || setgid(65534) || setuid(65534))) std::_Exit(1);
            chmod(data.c_str(), 0555);
        },
        [] {  // room for the log's lines, not for the new files
            signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{200, 200};
            setrlimit(RLIMIT_FSIZE, &limit);
        },
        [&] {  // held by channels while loaded, so empty documents stood in for them
            openFile(5, ini.c_str(), 1);
            openFile(6, lines.c_str(), 1);
        },
    };
    mkdir(data.c_str(), 0755);
    for (const auto& prepare : table) {
        chmod(data.c_str(), 0755);
        test::writeFile(ini, "[A]\r\nk=old\r\n");
        test::writeFile(lines, "old\r\n");
        std::filesystem::remove(temp.file("ErrorLog.txt"));
        EXPECT_EXIT(changeBothFilesThenEnd(ini, lines, prepare), testing::ExitedWithCode(0), "");
        EXPECT_EQ(test::readFile(ini) + test::readFile(lines), "[A]\r\nk=old\r\nold\r\n");
        EXPECT_EQ(test::readFile(temp.file("ErrorLog.txt")),
                  "INI file not written: " + ini + "\r\nLine file not written: " + lines + "\r\n");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(data), {}), 2) << "a temporary file stayed";
    }
}

} // namespace
} // namespace tarvoke
