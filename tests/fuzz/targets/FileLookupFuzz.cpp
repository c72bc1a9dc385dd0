// The file lookup through setArchive and resolveFile, with the input as the archive: a name the
// directory holds resolves to a file holding exactly what its first entry (letter case aside)
// unpacks to, or to nothing when that does not unpack; each lookup deletes the previous file.
#include <algorithm>
#include <iterator>
#include "files/ArchiveReader.h"
#include "files/ArchiveSlot.h"
#include "files/Files.h"
#include "support/FuzzSupport.h"
#include "tarvoke/files.h"

namespace {

using namespace tarvoke;

std::string contentsOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool sameIgnoringCase(const std::string& a, const std::string& b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

// What the lookup should give for `name`: the first matching member's bytes, if it unpacks.
bool expectedContents(const std::string& archive, const std::string& name, std::string& contents) {
    ArchiveReader reader;
    reader.open(archive);
    for (ArchiveEntry entry; reader.nextEntry(entry);) {
        if (!sameIgnoringCase(entry.name, name)) continue;
        std::vector<std::uint8_t> bytes;
        if (!reader.unpack(entry, bytes)) return false;
        contents.assign(bytes.begin(), bytes.end());
        return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool started = (fuzz::scratchFolder(), startFiles());
    fuzz::check(started, "the files subsystem starts");
    const std::string archive = fuzz::writeInput(data, size, "input.kqz");
    setArchive(StrValue(archive.c_str()), StrValue(archive.c_str()));

    std::vector<std::string> names;
    ArchiveReader reader;
    if (reader.open(archive) == ArchiveReader::OpenResult::Opened)
        for (ArchiveEntry entry; reader.nextEntry(entry) && names.size() < 16;)
            if (entry.name.find_first_of(std::string("/\\\0", 3)) == std::string::npos) names.push_back(entry.name);
    names.push_back("missing member");
    std::string previous;
    for (const std::string& name : names) {
        StrValue path;
        const bool found = resolveFile(generalArchive, StrValue(("folder\\" + name).c_str()), path);
        fuzz::check(previous.empty() || !std::filesystem::exists(previous), "a lookup deletes the previous file");
        std::string expected;
        const bool unpacks = expectedContents(archive, name, expected);
        fuzz::check(found == unpacks, "a name is found exactly when its first member unpacks");
        previous = found ? path.cStr() : "";
        if (found) fuzz::check(contentsOf(previous) == expected, "the unpacked file holds the member");
    }
    setArchive("", "");
    fuzz::check(previous.empty() || !std::filesystem::exists(previous), "setArchive deletes the last file");
    return 0;
}
