// Start-up points both lookups at the game's own executable.
#include <gtest/gtest.h>
#include <filesystem>
#include "files/ArchiveSlot.h"
#include "pack/ArchiveWriter.h"
#include "platform/Files.h"
#include "support/TestSupport.h"
#include "support/XSession.h"

namespace tarvoke {
namespace {

using test::ScopedTempDir;

// Copies the test game beside the test's files, with `tail` appended to it.
std::string gameWithTail(const ScopedTempDir& temp, const std::vector<std::uint8_t>& tail) {
    const std::string game = temp.file("archive_game");
    std::filesystem::copy_file(test::programPath("archive_game"), game);
    std::string bytes = test::readFile(game);
    bytes.append(tail.begin(), tail.end());
    test::writeFile(game, bytes);
    std::filesystem::permissions(game, std::filesystem::perms::owner_all);
    return game;
}

std::string runAndReadFound(const ScopedTempDir& temp, const std::string& game) {
    test::ChildProgram child(game);
    int code = -1;
    EXPECT_TRUE(child.waitForExit(20000, code));
    EXPECT_EQ(code, 0);
    return test::readFile(temp.file("found.txt"));
}

TEST(ExecutableArchive, AnArchiveAppendedToTheGameIsFoundWithoutAnyCall) {
    ScopedTempDir temp;
    const std::string text = "hello from inside the game";
    const std::uint64_t plainSize = std::filesystem::file_size(test::programPath("archive_game"));
    const auto tail = pack::buildAppendedArchive({{"Greeting.TXT", {text.begin(), text.end()}}}, plainSize);
    EXPECT_EQ(runAndReadFound(temp, gameWithTail(temp, tail)), text);
}

TEST(ExecutableArchive, AGameWithoutAnArchiveSeesOnlyTheDisk) {
    ScopedTempDir temp;
    EXPECT_EQ(runAndReadFound(temp, gameWithTail(temp, {})), "missing");
}

TEST(ExecutableArchive, StartUpAndShutdownOwnBothSlots) {
    ScopedTempDir temp;
    std::string pending;
    {
        test::EngineRun engine;
        ASSERT_NE(generalArchive, nullptr);
        ASSERT_NE(mediaArchive, nullptr);
        EXPECT_EQ(generalArchive->archivePath, platform::executablePath());
        EXPECT_EQ(mediaArchive->archivePath, platform::executablePath());
        // The test executable carries no archive: the first miss on disk switches the slot off.
        StrValue path;
        EXPECT_FALSE(resolveFile(generalArchive, StrValue("nowhere.png"), path));
        EXPECT_FALSE(generalArchive->enabled);
        setArchive("", "");
        EXPECT_TRUE(generalArchive->enabled);
        // A member unpacked before shutdown is deleted by it.
        const std::string archive = temp.file("a.kqz");
        const auto bytes = pack::buildStandaloneArchive({{"x.txt", {'x'}}});
        test::writeFile(archive, std::string(bytes.begin(), bytes.end()));
        setArchive(StrValue(archive.c_str()), "");
        ASSERT_TRUE(resolveFile(generalArchive, StrValue("x.txt"), path));
        pending = path.cStr();
        EXPECT_TRUE(test::fileExists(pending));
    }
    EXPECT_EQ(generalArchive, nullptr);
    EXPECT_EQ(mediaArchive, nullptr);
    EXPECT_FALSE(test::fileExists(pending));
}

} // namespace
} // namespace tarvoke
