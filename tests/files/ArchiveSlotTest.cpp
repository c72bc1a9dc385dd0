// File lookup through the packed archive: disk first, then members unpacked to temporary files.
#include <gtest/gtest.h>
#include <filesystem>
#include <sys/stat.h>
#include "files/ArchiveReader.h"
#include "files/ArchiveSlot.h"
#include "pack/ArchiveWriter.h"
#include "support/TestSupport.h"

namespace tarvoke {
namespace {

using pack::PackMember;
using test::ScopedTempDir;

std::vector<std::uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    test::writeFile(path, std::string(bytes.begin(), bytes.end()));
}

std::vector<PackMember> sampleMembers() {
    std::vector<std::uint8_t> picture(5000);
    for (std::size_t i = 0; i < picture.size(); ++i) picture[i] = std::uint8_t(i * 7 / 3);
    return {{"hero.png", picture}, {"level.txt", bytesOf("level one\n")}, {"empty.dat", {}}};
}

std::size_t filesIn(const std::string& directory) {
    std::size_t count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) count += entry.is_regular_file();
    return count;
}

class ArchiveLookup : public testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory(temp.file("unpacked"));
        setenv("TMPDIR", temp.file("unpacked").c_str(), 1);
        archive = temp.file("game.kqz");
        writeBytes(archive, pack::buildStandaloneArchive(sampleMembers()));
        resetArchiveSlot(slot, archive);
    }

    // Looks a name up the way loaders do: the name's own buffer receives the path.
    bool lookUp(const std::string& name, StrValue& path) {
        path = name.c_str();
        return resolveFile(&slot, path, path);
    }

    ScopedTempDir temp;
    std::string archive;
    ArchiveSlot slot;
};

TEST_F(ArchiveLookup, MembersUnpackByteExactWhateverTheDirectoryAndCase) {
    StrValue path;
    ASSERT_TRUE(lookUp("gfx/Hero.PNG", path));
    const std::vector<std::uint8_t> picture = sampleMembers()[0].bytes;
    EXPECT_EQ(test::readFile(path.cStr()), std::string(picture.begin(), picture.end()));
    ASSERT_TRUE(lookUp("data\\sub\\LEVEL.txt", path));
    EXPECT_EQ(test::readFile(path.cStr()), "level one\n");
    ASSERT_TRUE(lookUp("empty.dat", path));
    EXPECT_EQ(test::readFile(path.cStr()), "");
    EXPECT_TRUE(slot.enabled);
}

TEST_F(ArchiveLookup, TheTemporaryFileIsPrivateUnpredictableAndKeepsTheExtension) {
    StrValue first, second;
    ASSERT_TRUE(lookUp("hero.png", first));
    const std::string firstPath = first.cStr();
    const std::string name = std::filesystem::path(firstPath).filename().string();
    EXPECT_EQ(std::filesystem::path(firstPath).parent_path(), temp.file("unpacked"));
    EXPECT_EQ(name.rfind("kqz", 0), 0u);
    EXPECT_EQ(name.substr(name.size() - 9), "-hero.png");
    struct stat info{};
    ASSERT_EQ(stat(firstPath.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    ASSERT_TRUE(lookUp("hero.png", second));
    EXPECT_NE(firstPath, second.cStr());
}

TEST_F(ArchiveLookup, AFileOnDiskWinsOverAMember) {
    const std::string onDisk = temp.file("hero.png");
    test::writeFile(onDisk, "from disk");
    StrValue path;
    ASSERT_TRUE(lookUp(onDisk, path));
    EXPECT_EQ(std::string(path.cStr()), onDisk);
    EXPECT_EQ(filesIn(temp.file("unpacked")), 0u);
    // A backslash path reaches the same disk file.
    std::string backslashed = onDisk;
    std::replace(backslashed.begin(), backslashed.end(), '/', '\\');
    ASSERT_TRUE(lookUp(backslashed, path));
    EXPECT_EQ(std::string(path.cStr()), onDisk);
}

TEST_F(ArchiveLookup, TheUnpackedFileLivesUntilTheNextLookupOnTheSlot) {
    StrValue path;
    ASSERT_TRUE(lookUp("hero.png", path));
    const std::string first = path.cStr();
    EXPECT_EQ(slot.pendingFile.path(), first);
    ASSERT_FALSE(lookUp("missing.png", path));  // even a miss deletes it
    EXPECT_FALSE(test::fileExists(first));
    EXPECT_TRUE(slot.pendingFile.isEmpty());
    ASSERT_TRUE(lookUp("level.txt", path));
    const std::string second = path.cStr();
    resetArchiveSlot(slot, archive);  // as setArchive does
    EXPECT_FALSE(test::fileExists(second));
    EXPECT_EQ(filesIn(temp.file("unpacked")), 0u);
}

TEST_F(ArchiveLookup, AMissingMemberEmptiesThePathAndKeepsTheSlotOn) {
    StrValue path;
    EXPECT_FALSE(lookUp("nothere.png", path));
    EXPECT_STREQ(path.cStr(), "");
    EXPECT_TRUE(slot.enabled);
    EXPECT_FALSE(lookUp("", path));
    EXPECT_STREQ(path.cStr(), "");
}

TEST_F(ArchiveLookup, AnArchiveAppendedToAnotherFileIsFoundFromTheEnd) {
    const std::string game = temp.file("game.bin");
    std::vector<std::uint8_t> bytes(12345, 0xCC);
    const auto tail = pack::buildAppendedArchive(sampleMembers(), bytes.size());
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    writeBytes(game, bytes);
    resetArchiveSlot(slot, game);
    StrValue path;
    ASSERT_TRUE(lookUp("level.txt", path));
    EXPECT_EQ(test::readFile(path.cStr()), "level one\n");
}

TEST_F(ArchiveLookup, AFileWithoutTheMagicSwitchesTheSlotOffUntilSetArchive) {
    const std::string notArchive = temp.file("plain.bin");
    test::writeFile(notArchive, "just some bytes, no trailer here");
    resetArchiveSlot(slot, notArchive);
    StrValue path;
    EXPECT_FALSE(lookUp("hero.png", path));
    EXPECT_FALSE(slot.enabled);
    EXPECT_STREQ(path.cStr(), "hero.png");  // left as it was
    resetArchiveSlot(slot, archive);
    EXPECT_TRUE(slot.enabled);
    EXPECT_TRUE(lookUp("hero.png", path));
}

TEST_F(ArchiveLookup, AMissingOrUnnamedArchiveSwitchesTheSlotOff) {
    StrValue path;
    resetArchiveSlot(slot, temp.file("no-such.kqz"));
    EXPECT_FALSE(lookUp("hero.png", path));
    EXPECT_FALSE(slot.enabled);
    resetArchiveSlot(slot, "");
    EXPECT_FALSE(lookUp("hero.png", path));
    EXPECT_FALSE(slot.enabled);
    EXPECT_FALSE(resolveFile(nullptr, StrValue("hero.png"), path));  // no slot: disk only
}

// ---------------------------------------------------------------- damaged archives

std::vector<std::uint8_t> standaloneWith(const std::vector<PackMember>& members) {
    return pack::buildStandaloneArchive(members);
}

void putLittleEndian32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + std::size_t(i)] = std::uint8_t(value >> (8 * i));
}

std::size_t directoryStart(const std::vector<std::uint8_t>& bytes) {
    return readLittleEndian32(bytes.data() + bytes.size() - 4);
}

class DamagedArchive : public ArchiveLookup {
protected:
    // Writes the damaged bytes as the slot's archive and looks "hero.png" up.
    bool lookUpIn(const std::vector<std::uint8_t>& bytes, StrValue& path) {
        writeBytes(archive, bytes);
        resetArchiveSlot(slot, archive);
        return lookUp("hero.png", path);
    }
    void expectCleanMiss(const std::vector<std::uint8_t>& bytes) {
        StrValue path;
        EXPECT_FALSE(lookUpIn(bytes, path));
        EXPECT_STREQ(path.cStr(), "");
        EXPECT_TRUE(slot.pendingFile.isEmpty());
        EXPECT_EQ(filesIn(temp.file("unpacked")), 0u) << "a temporary file was left behind";
    }
    std::vector<std::uint8_t> good = standaloneWith(sampleMembers());
};

TEST_F(DamagedArchive, ADirectoryOffsetOutsideTheFileFindsNothing) {
    auto bytes = good;
    putLittleEndian32(bytes, bytes.size() - 4, std::uint32_t(bytes.size() + 100));
    expectCleanMiss(bytes);
    EXPECT_TRUE(slot.enabled);
    putLittleEndian32(bytes, bytes.size() - 4, std::uint32_t(-std::int32_t(bytes.size()) - 1));
    expectCleanMiss(bytes);
}

TEST_F(DamagedArchive, MemberBlocksOutsideTheFileOrTooLargeAreRefused) {
    const std::size_t entry = directoryStart(good);  // "hero.png" is the first entry
    const std::size_t offsetField = entry + 1 + 8, sizeField = offsetField + 4;
    auto bytes = good;
    putLittleEndian32(bytes, offsetField, std::uint32_t(bytes.size()));  // starts at the end
    expectCleanMiss(bytes);
    bytes = good;
    putLittleEndian32(bytes, sizeField, std::uint32_t(bytes.size()));  // larger than what remains
    expectCleanMiss(bytes);
    bytes = good;
    putLittleEndian32(bytes, sizeField, 0x80000000u);  // a negative size
    expectCleanMiss(bytes);
    bytes = good;
    putLittleEndian32(bytes, sizeField, 3);  // too small to hold the unpacked size
    expectCleanMiss(bytes);
}

TEST_F(DamagedArchive, AnUnpackedSizeThatLzoDoesNotProduceIsRefused) {
    const std::size_t entry = directoryStart(good);
    const std::size_t blockStart = readLittleEndian32(good.data() + entry + 1 + 8);
    auto bytes = good;
    putLittleEndian32(bytes, blockStart, 5001);  // one byte more than the stream holds
    expectCleanMiss(bytes);
    putLittleEndian32(bytes, blockStart, 4999);
    expectCleanMiss(bytes);
    putLittleEndian32(bytes, blockStart, 0xFFFFFFFFu);  // refused before any allocation
    expectCleanMiss(bytes);
    bytes = good;
    for (std::size_t i = blockStart + 4; i < blockStart + 40; ++i) bytes[i] ^= 0x5A;  // corrupt stream
    expectCleanMiss(bytes);
}

TEST_F(DamagedArchive, NamesRunningPastTheDirectoryEndTheLookup) {
    auto bytes = good;
    const std::size_t entry = directoryStart(bytes);
    bytes.resize(entry + 1 + 4);  // the first entry's name is cut off by the trailer
    const std::vector<std::uint8_t> trailer(good.end() - archive::trailerSize, good.end());
    bytes.insert(bytes.end(), trailer.begin(), trailer.end());
    expectCleanMiss(bytes);
}

TEST_F(DamagedArchive, AnEmptyDirectoryHoldsNoMembers) {
    auto bytes = good;
    bytes[directoryStart(bytes)] = 0;  // the first entry's name length
    expectCleanMiss(bytes);
    EXPECT_TRUE(slot.enabled);
}

TEST_F(DamagedArchive, ATruncatedTrailerFailsWithoutSwitchingOff) {
    const std::vector<std::uint8_t> bytes = {0x6B, 0x71, 0x5A, 0, 0};
    expectCleanMiss(bytes);
    EXPECT_TRUE(slot.enabled);
}

TEST_F(DamagedArchive, AStoredNameCannotLeadTheUnpackedFileElsewhere) {
    // ".." is the one such name a lookup can reach (its final component is itself).
    writeBytes(archive, standaloneWith({{"..", bytesOf("x")}}));
    resetArchiveSlot(slot, archive);
    StrValue path;
    ASSERT_TRUE(lookUp("..", path));
    EXPECT_EQ(std::filesystem::path(path.cStr()).parent_path(), temp.file("unpacked"));
    EXPECT_EQ(test::readFile(path.cStr()), "x");
}

TEST_F(ArchiveLookup, AnUnwritableTemporaryFolderFailsTheLookup) {
    setenv("TMPDIR", temp.file("missing/folder").c_str(), 1);
    StrValue path;
    EXPECT_FALSE(lookUp("hero.png", path));
    EXPECT_TRUE(slot.pendingFile.isEmpty());
}

} // namespace
} // namespace tarvoke
