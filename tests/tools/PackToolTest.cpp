// tarvoke-pack run as a child process, its archives read back with the engine's ArchiveReader.
#include <gtest/gtest.h>
#include <algorithm>
#include <filesystem>
#include <functional>
#include <random>
#include <set>
#include <tuple>
#include "files/ArchiveReader.h"
#include "pack/ArchiveWriter.h"
#include "platform/Process.h"
#include "support/TestSupport.h"

namespace tarvoke {
namespace {

namespace fs = std::filesystem;
using pack::PackMember;
using Bytes = std::vector<std::uint8_t>;

std::string text(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }
Bytes readBytes(const std::string& path) {
    const std::string bytes = test::readFile(path);
    return Bytes(bytes.begin(), bytes.end());
}

// 64 KiB stretches of random bytes between stretches of repeated text.
Bytes mixedBytes(std::size_t size) {
    std::mt19937 random(7);
    const std::string line = "tile grass 0 0 16 16 walkable\n";
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = (i / 65536) % 2 ? std::uint8_t(random()) : std::uint8_t(line[i % line.size()]);
    return bytes;
}

std::uint32_t get32(const Bytes& bytes, std::size_t at) { return readLittleEndian32(bytes.data() + at); }
void put32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = std::uint8_t(value >> (8 * i));
}
std::int32_t directoryOffset(const Bytes& archive) { return std::int32_t(get32(archive, archive.size() - 4)); }

// Every member as the engine sees it, in directory order.
std::vector<ArchiveEntry> engineEntries(const std::string& path, std::vector<Bytes>* contents = nullptr) {
    ArchiveReader reader;
    EXPECT_EQ(reader.open(path), ArchiveReader::OpenResult::Opened) << path;
    std::vector<ArchiveEntry> entries;
    for (ArchiveEntry entry; reader.nextEntry(entry);) {
        entries.push_back(entry);
        Bytes bytes;
        EXPECT_TRUE(reader.unpack(entry, bytes)) << entry.name;
        if (contents) contents->push_back(bytes);
    }
    return entries;
}

std::set<std::string> listing(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& item : fs::directory_iterator(folder)) names.insert(item.path().filename().string());
    return names;
}

struct ToolResult {
    int exitCode = -1;
    std::string out, err;
};

class PackTool : public ::testing::Test {
protected:
    test::ScopedTempDir temp;
    const std::string work = temp.file("work");  // the tool's files; its captured output stays outside

    void SetUp() override { fs::create_directories(work + "/in"); }
    std::string at(const std::string& name) const { return work + "/" + name; }

    // Members are written to work/in and returned as paths for the command line.
    std::vector<std::string> writeInputs(const std::vector<PackMember>& members) {
        std::vector<std::string> paths;
        for (const PackMember& member : members) paths.push_back(at("in/" + member.name));
        for (std::size_t i = 0; i < members.size(); ++i) test::writeFile(paths[i], text(members[i].bytes));
        return paths;
    }

    ToolResult run(const std::vector<std::string>& arguments, const std::string& shellSetup = "") {
        std::vector<std::string> command = {"/bin/sh", "-c", shellSetup + " exec \"$0\" \"$@\" >\"$OUT\" 2>\"$ERR\"",
                                            TARVOKE_PACK};
        command.insert(command.end(), arguments.begin(), arguments.end());
        const auto process = platform::startProgram(command, {"OUT=" + temp.file("out"), "ERR=" + temp.file("err")});
        ToolResult result;
        EXPECT_TRUE(platform::waitProcess(process, 120000, result.exitCode));
        result.out = test::readFile(temp.file("out"));
        result.err = test::readFile(temp.file("err"));
        return result;
    }

    void expectFailure(const ToolResult& result, const std::string& message, int exitCode = 1) {
        EXPECT_EQ(result.exitCode, exitCode) << result.err;
        EXPECT_EQ(result.err.rfind("tarvoke-pack: ", 0), 0u) << result.err;
        EXPECT_NE(result.err.find(message), std::string::npos) << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    }
};

TEST_F(PackTool, CreateListAndExtractGiveBackEveryByte) {
    const std::vector<PackMember> members = {{"empty.bin", {}}, {"one.txt", {'x'}},
                                             {"big.dat", mixedBytes(3 << 20)}, {"zeros.raw", Bytes(1 << 20, 0)},
                                             {"level 1 map.txt", Bytes(5000, 'w')}};
    std::vector<std::string> arguments = writeInputs(members);
    arguments.insert(arguments.begin(), {"create", at("game.pak")});
    const ToolResult created = run(arguments);
    ASSERT_EQ(created.exitCode, 0) << created.err;

    EXPECT_GE(directoryOffset(readBytes(at("game.pak"))), 0);
    std::vector<Bytes> contents;
    const std::vector<ArchiveEntry> entries = engineEntries(at("game.pak"), &contents);
    ASSERT_EQ(entries.size(), members.size());
    std::string expectedListing;
    for (std::size_t i = 0; i < members.size(); ++i) {
        EXPECT_EQ(entries[i].name, members[i].name);
        EXPECT_TRUE(contents[i] == members[i].bytes) << members[i].name;
        expectedListing += members[i].name + "\t" + std::to_string(members[i].bytes.size()) + "\t" +
                           std::to_string(entries[i].size) + "\n";
    }
    EXPECT_LT(entries[2].size, 3 << 20) << "the compressible half of big.dat should shrink";
    EXPECT_EQ(run({"list", at("game.pak")}).out, expectedListing);

    ASSERT_EQ(run({"extract", at("game.pak"), at("out")}).exitCode, 0);
    for (const PackMember& member : members)
        EXPECT_TRUE(test::readFile(at("out/" + member.name)) == text(member.bytes)) << member.name;
    EXPECT_EQ(listing(at("out")).size(), members.size());
}

TEST_F(PackTool, AppendLeavesTheTargetAndTheLastArchiveIsTheOneFound) {
    const Bytes game = mixedBytes(70000);
    test::writeFile(at("game"), text(game));
    const std::vector<std::string> first = writeInputs({{"a.png", Bytes(300, 1)}, {"b.txt", {'b'}}});
    ASSERT_EQ(run({"append", at("game"), first[0], first[1]}).exitCode, 0);

    const std::string afterFirst = test::readFile(at("game"));
    EXPECT_EQ(afterFirst.substr(0, game.size()), text(game));
    EXPECT_LT(directoryOffset(readBytes(at("game"))), 0);
    std::vector<Bytes> contents;
    std::vector<ArchiveEntry> entries = engineEntries(at("game"), &contents);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].offset, -std::int32_t(afterFirst.size() - game.size())) << "the block follows the game";
    EXPECT_TRUE(contents[0] == Bytes(300, 1) && contents[1] == Bytes{'b'});

    const std::vector<std::string> second = writeInputs({{"a.png", Bytes(20, 2)}, {"c.ogg", Bytes(9, 3)}});
    ASSERT_EQ(run({"append", at("game"), second[0], second[1]}).exitCode, 0);
    EXPECT_EQ(test::readFile(at("game")).substr(0, afterFirst.size()), afterFirst);
    contents.clear();
    entries = engineEntries(at("game"), &contents);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].name, "c.ogg");
    EXPECT_TRUE(contents[0] == Bytes(20, 2)) << "the first archive's a.png must not be the one found";
}

TEST_F(PackTool, AWriteThatFailsPartWayDamagesNothing) {
    const std::string game(2000, 'g');
    test::writeFile(at("game"), game);
    const std::vector<std::string> input = writeInputs({{"noise.bin", mixedBytes(131072)}});
    const std::string limit = "ulimit -f 16;";  // 8 KiB: the game fits, the archive does not

    expectFailure(run({"append", at("game"), input[0]}, limit), "cannot append to");
    EXPECT_EQ(test::readFile(at("game")), game);
    expectFailure(run({"create", at("new.pak"), input[0]}, limit), "cannot write");
    EXPECT_EQ(listing(work), (std::set<std::string>{"game", "in"}));
}

TEST_F(PackTool, MistakesGiveOneLineAndCreateNothing) {
    const std::vector<std::string> inputs = writeInputs({{"dup.txt", {'1'}}, {"notes.txt", {'n'}}});
    fs::create_directory(at("in/other"));
    test::writeFile(at("in/other/DUP.TXT"), "2");
    const std::vector<std::tuple<std::vector<std::string>, std::string, int>> mistakes = {
        {{"frobnicate"}, "unknown command 'frobnicate'", 2},
        {{"create", at("a.pak")}, "create needs an archive and at least one file", 2},
        {{"extract", at("a.pak")}, "extract needs an archive and a folder", 2},
        {{"create", at("a.pak"), at("in/missing.txt")}, "cannot read '" + at("in/missing.txt") + "': No such file", 1},
        {{"create", at("a.pak"), at("in")}, "'" + at("in") + "' is not a regular file", 1},
        {{"create", at("a.pak"), inputs[0], at("in/other/DUP.TXT")}, "two members named 'dup.txt' and 'DUP.TXT'", 1},
        {{"append", at("game"), inputs[1]}, "cannot open '" + at("game") + "'", 1},
        {{"list", at("a.pak")}, "cannot open archive", 1},
        {{"list", inputs[1]}, "is not an archive", 1},
        {{"extract", inputs[0], at("out")}, "is not an archive", 1},
    };
    for (const auto& [arguments, message, exitCode] : mistakes) {
        SCOPED_TRACE(arguments[0] + " " + message);
        expectFailure(run(arguments), message, exitCode);
        EXPECT_EQ(listing(work), std::set<std::string>{"in"});
    }
    const ToolResult bare = run({});
    EXPECT_NE(bare.exitCode, 0);
    EXPECT_NE(bare.err.find("usage: tarvoke-pack create"), std::string::npos);
    const ToolResult help = run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("tarvoke-pack extract ARCHIVE DIR"), std::string::npos);
}

TEST_F(PackTool, ExtractNeverWritesOutsideItsFolder) {
    const std::vector<PackMember> members = {{"../escaped.txt", {'e'}}, {"sub/inner.txt", {'i'}}, {"back\\slash", {'b'}},
                                             {"..", {'d'}}, {".", {'d'}}, {"kept.txt", {'k'}},
                                             {"KEPT.TXT", {'K'}}, {"link.txt", {'L'}}};
    const Bytes archive = pack::buildStandaloneArchive(members);
    test::writeFile(at("hostile.pak"), text(archive));
    test::writeFile(at("outside.txt"), "original");
    fs::create_directory(at("out"));
    fs::create_symlink("../outside.txt", at("out/link.txt"));

    const ToolResult result = run({"extract", at("hostile.pak"), at("out")});
    EXPECT_EQ(result.exitCode, 1);
    for (const char* refused : {"refusing to unpack: member name contains a directory separator: '../escaped.txt'",
                                "separator: 'sub/inner.txt'", "separator: 'back\\\\slash'", "not a file name: '..'",
                                "not a file name: '.'", "skipping member 'KEPT.TXT'"})
        EXPECT_NE(result.err.find(refused), std::string::npos) << refused;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 6) << result.err;
    EXPECT_EQ(listing(at("out")), (std::set<std::string>{"kept.txt", "link.txt"}));
    EXPECT_EQ(test::readFile(at("out/kept.txt")), "k");
    EXPECT_FALSE(fs::is_symlink(at("out/link.txt")));
    EXPECT_EQ(test::readFile(at("out/link.txt")), "L");
    EXPECT_EQ(test::readFile(at("outside.txt")), "original");
    EXPECT_EQ(listing(work), (std::set<std::string>{"hostile.pak", "in", "out", "outside.txt"}));
}

TEST_F(PackTool, DamagedArchivesFailWithAMessageNeverACrash) {
    const Bytes intact = pack::buildStandaloneArchive({{"x.bin", mixedBytes(2000)}, {"y.txt", Bytes(40, 'y')}});
    const std::size_t entry = std::size_t(directoryOffset(intact)), sizeField = entry + 1 + 5 + 4;
    const std::uint32_t blockSize = get32(intact, sizeField);
    const std::vector<std::tuple<const char*, std::function<void(Bytes&)>, std::string>> damage = {
        {"trailer cut short", [](Bytes& b) { b.resize(b.size() - 3); }, "is not an archive"},
        {"less than a trailer", [](Bytes& b) { b.resize(5); }, "is not an archive"},
        {"directory past the end", [](Bytes& b) { put32(b, b.size() - 4, std::uint32_t(b.size() + 100)); }, "points outside"},
        {"directory before the start", [](Bytes& b) { put32(b, b.size() - 4, std::uint32_t(-std::int32_t(b.size() + 1))); }, "points outside"},
        {"size runs past the file", [&](Bytes& b) { put32(b, sizeField, 0x7FFFFFF0); }, "damaged directory entry after 0"},
        {"negative offset", [&](Bytes& b) { put32(b, sizeField - 4, std::uint32_t(-4)); }, "damaged directory entry after 0"},
        {"U beyond the stream", [&](Bytes& b) { put32(b, 0, (blockSize - 4) * 256 + 1); }, "'x.bin' is damaged"},
        {"U one too many", [](Bytes& b) { put32(b, 0, 2001); }, "'x.bin' is damaged"},
        {"stream overwritten", [&](Bytes& b) { std::fill(b.begin() + 4, b.begin() + blockSize, 0xEE); }, "'x.bin' is damaged"},
    };
    for (const auto& [what, edit, message] : damage) {
        SCOPED_TRACE(what);
        Bytes damaged = intact;
        edit(damaged);
        test::writeFile(at("bad.pak"), text(damaged));
        const ToolResult listed = run({"list", at("bad.pak")});
        expectFailure(listed, message);
        EXPECT_TRUE(listed.out.empty() || listed.out.back() == '\n') << "a half line: " << listed.out;
        const ToolResult extracted = run({"extract", at("bad.pak"), at("out")});
        EXPECT_EQ(extracted.exitCode, 1) << extracted.err;
        EXPECT_NE(extracted.err.find(message), std::string::npos) << extracted.err;
        fs::remove_all(at("out"));
    }
}

TEST_F(PackTool, NamesWithControlCharactersAreShownEscapedAndNeverWritten) {
    const std::vector<std::pair<std::string, std::string>> names = {  // stored, then as listed
        {"esc\x1b[2Jx.txt", "esc\\x1b[2Jx.txt"}, {"tab\tname", "tab\\tname"},
        {"forged\n9\t9\t9", "forged\\n9\\t9\\t9"}, {"del\x7f", "del\\x7f"},
        {"caf\xe9.png", "caf\\xe9.png"}, {"c1\xc2\x9b.txt", "c1\\xc2\\x9b.txt"},
        {"\xc3\xa9t\xc3\xa9.txt", "\xc3\xa9t\xc3\xa9.txt"}, {"plain.txt", "plain.txt"}};
    std::vector<PackMember> members;
    for (const auto& name : names) members.push_back({name.first, {'x'}});
    test::writeFile(at("names.pak"), text(pack::buildStandaloneArchive(members)));

    const ToolResult listed = run({"list", at("names.pak")});
    ASSERT_EQ(listed.exitCode, 0) << listed.err;
    std::string expected;
    for (const auto& name : names) expected += name.second + "\t1\t" + std::to_string(pack::packBlock({'x'}).size()) + "\n";
    EXPECT_EQ(listed.out, expected);

    const ToolResult extracted = run({"extract", at("names.pak"), at("out")});
    EXPECT_EQ(extracted.exitCode, 1);
    EXPECT_EQ(std::count(extracted.err.begin(), extracted.err.end(), '\n'), 4) << extracted.err;
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_NE(extracted.err.find("control character: '" + names[i].second + "'"), std::string::npos) << extracted.err;
    EXPECT_EQ(listing(at("out")), (std::set<std::string>{names[4].first, names[5].first, names[6].first, "plain.txt"}));
}

// One 256 KiB block of zeros (a kilobyte packed) named by many entries would unpack to
// gigabytes; members whose blocks share or overlap any bytes are refused before any work.
TEST_F(PackTool, MembersSharingPackedDataAreRefused) {
    const Bytes single = pack::buildStandaloneArchive({{"zeros.bin", Bytes(1 << 18, 0)}});
    const std::size_t directory = std::size_t(directoryOffset(single));
    const std::uint32_t blockSize = get32(single, directory + 1 + 9 + 4);
    const auto withEntries = [&](const std::vector<std::pair<std::uint32_t, std::uint32_t>>& blocks) {
        Bytes bytes(single.begin(), single.begin() + std::ptrdiff_t(directory));
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            const std::string name = "copy" + std::to_string(i) + ".bin";
            bytes.push_back(std::uint8_t(name.size()));
            bytes.insert(bytes.end(), name.begin(), name.end());
            bytes.resize(bytes.size() + 8);
            put32(bytes, bytes.size() - 8, blocks[i].first);
            put32(bytes, bytes.size() - 4, blocks[i].second);
        }
        bytes.insert(bytes.end(), {0, 0x6B, 0x71, 0x5A, 0, 0, 0, 0});
        put32(bytes, bytes.size() - 4, std::uint32_t(directory));
        return bytes;
    };
    const std::vector<std::pair<std::uint32_t, std::uint32_t>> shared(200, {0, blockSize});
    for (const auto& blocks : {shared, {{0, blockSize}, {blockSize - 1, 1}}, {{1, blockSize - 1}, {0, blockSize}}}) {
        test::writeFile(at("shared.pak"), text(withEntries(blocks)));
        expectFailure(run({"list", at("shared.pak")}), "share packed data");
        expectFailure(run({"extract", at("shared.pak"), at("out")}), "members 'copy");
        EXPECT_FALSE(fs::exists(at("out/copy0.bin")));
    }
    test::writeFile(at("apart.pak"), text(withEntries({{0, blockSize}, {0, 0}, {blockSize, 0}})));
    EXPECT_EQ(run({"list", at("apart.pak")}).err.find("share"), std::string::npos);
}

// A file planted under the name the tool once used for its partial files is neither in its way
// nor removed by it.
TEST_F(PackTool, AFileUnderTheToolsOldTemporaryNameIsLeftAlone) {
    const std::vector<std::string> input = writeInputs({{"a.txt", {'a'}}});
    const std::string plant = "printf planted > \"" + work + "/.tarvoke-pack-$$.partial\";";
    ASSERT_EQ(run({"create", at("a.pak"), input[0]}, plant).exitCode, 0);
    EXPECT_EQ(engineEntries(at("a.pak")).size(), 1u);
    std::set<std::string> planted;
    for (const std::string& name : listing(work))
        if (name.rfind(".tarvoke-pack-", 0) == 0 && test::readFile(at(name)) == "planted") planted.insert(name);
    EXPECT_EQ(planted.size(), 1u);
    EXPECT_EQ(listing(work).size(), 3u);  // in, a.pak and the planted file
}

TEST(PackWriter, RefusesWhatTheEngineCouldNeverFindOrUnpack) {
    const auto problem = [](std::vector<std::string> names) {
        std::vector<PackMember> members;
        for (const std::string& name : names) members.push_back({name, {}});
        return pack::memberListProblem(members).value_or("");
    };
    EXPECT_EQ(problem({"a.png", std::string(255, 'n'), "A.PNG.bak", "\xC3\x89.txt", "\xC3\xA9.txt"}), "");
    EXPECT_NE(problem({std::string(256, 'n')}).find("longer than 255 bytes"), std::string::npos);
    EXPECT_NE(problem({"Map.PNG", "b", "map.png"}).find("two members named 'Map.PNG' and 'map.png'"), std::string::npos);
    for (const std::string& bad : std::vector<std::string>{"", "a/b", "a\\b", ".", "..", std::string("a\0b", 3)})
        EXPECT_NE(problem({"ok", bad}), "") << bad;
    EXPECT_FALSE(pack::sizeProblem("big", archive::largestUnpackedSize));
    EXPECT_TRUE(pack::sizeProblem("big", archive::largestUnpackedSize + 1));
    EXPECT_THROW(pack::buildStandaloneArchive({{"", {}}}), std::invalid_argument);
    EXPECT_THROW(pack::buildAppendedArchive({{std::string(256, 'n'), {}}}, 10), std::invalid_argument);
}

TEST(PackWriter, AnEmptyArchiveIsOnlyItsEndMarkAndTrailer) {
    test::ScopedTempDir temp;
    const Bytes empty = pack::buildStandaloneArchive({});
    EXPECT_EQ(empty, (Bytes{0, 0x6B, 0x71, 0x5A, 0, 0, 0, 0}));
    test::writeFile(temp.file("game"), "game bytes" + text(pack::buildAppendedArchive({}, 10)));
    EXPECT_TRUE(engineEntries(temp.file("game")).empty());
}

} // namespace
} // namespace tarvoke
