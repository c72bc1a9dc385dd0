#include "files/ArchiveSlot.h"
#include <algorithm>
#include <memory>
#include <vector>
#include "files/ArchiveReader.h"
#include "platform/Files.h"

namespace tarvoke {

ArchiveSlot* generalArchive = nullptr;
ArchiveSlot* mediaArchive = nullptr;

namespace {

std::unique_ptr<ArchiveSlot> ownedGeneralArchive;
std::unique_ptr<ArchiveSlot> ownedMediaArchive;

// Names longer than this keep only their end, so the temporary name fits the file system and
// still ends with the member's extension.
constexpr std::size_t longestTemporaryName = 200;

std::string finalComponent(const std::string& name) {
    const std::size_t cut = name.find_last_of("/\\");
    return cut == std::string::npos ? name : name.substr(cut + 1);
}

char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool sameNameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (asciiLower(a[i]) != asciiLower(b[i])) return false;
    return true;
}

void deletePendingFile(ArchiveSlot& slot) { slot.pendingFile.reset(); }

// A stored name is untrusted: it must not lead the temporary file out of its directory.
std::string safeFileName(const std::string& stored) {
    std::string safe = stored;
    for (char& c : safe)
        if (c == '/' || c == '\\' || c == '\0') c = '_';
    if (safe.size() > longestTemporaryName) safe = safe.substr(safe.size() - longestTemporaryName);
    return safe;
}

constexpr char unpackedMark[] = "kqz";
constexpr std::size_t randomPartLength = 6;

// "kqz", two letters from the member's offset and size, a random part, "-", then the name.
std::string temporaryPrefix(const ArchiveEntry& entry) {
    std::string prefix = unpackedMark;
    prefix += char('A' + (std::uint8_t(entry.offset) % 26));
    prefix += char('A' + (std::uint8_t(entry.size) % 26));
    return prefix;
}

bool findMember(ArchiveReader& reader, const std::string& wanted, ArchiveEntry& entry) {
    while (reader.nextEntry(entry))
        if (sameNameIgnoringCase(entry.name, wanted)) return true;
    return false;
}

// Steps after the disk missed: the slot's archive, if it is one.
bool resolveFromArchive(ArchiveSlot& slot, const std::string& requested, StrValue& outPath) {
    if (slot.archivePath.empty()) {
        slot.enabled = false;
        return false;
    }
    ArchiveReader reader;
    switch (reader.open(platform::nativePath(slot.archivePath))) {
    case ArchiveReader::OpenResult::Opened: break;
    case ArchiveReader::OpenResult::Unreadable: outPath = ""; return false;
    case ArchiveReader::OpenResult::Unopenable:
    case ArchiveReader::OpenResult::NotArchive: slot.enabled = false; return false;
    case ArchiveReader::OpenResult::NoDirectory: outPath = ""; return false;
    }
    ArchiveEntry entry;
    std::vector<std::uint8_t> bytes;
    outPath = "";
    if (!findMember(reader, finalComponent(requested), entry) || !reader.unpack(entry, bytes)) return false;
    reader.close();
    slot.pendingFile = platform::writeHeldTemporaryFile(temporaryPrefix(entry), "-" + safeFileName(entry.name),
                                                        bytes.data(), bytes.size());
    if (slot.pendingFile.isEmpty()) return false;
    outPath = slot.pendingFile.path().c_str();
    return true;
}

bool isUpperLetter(char c) { return c >= 'A' && c <= 'Z'; }
bool isRandomPartLetter(char c) { return isUpperLetter(c) || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }

// Exactly the form temporaryPrefix and the random part give, with a name after the "-".
bool isUnpackedFileName(const std::string& name) {
    const std::size_t markLength = sizeof unpackedMark - 1;
    const std::size_t dash = markLength + 2 + randomPartLength;
    if (name.size() <= dash + 1 || name.compare(0, markLength, unpackedMark) != 0 || name[dash] != '-') return false;
    if (!isUpperLetter(name[markLength]) || !isUpperLetter(name[markLength + 1])) return false;
    return std::all_of(name.begin() + std::ptrdiff_t(markLength + 2), name.begin() + std::ptrdiff_t(dash), isRandomPartLetter);
}

} // namespace

int removeLeftoverUnpackedFiles() {
    int removed = 0;
    for (const std::string& name : platform::temporaryFileNames())
        if (isUnpackedFileName(name) && platform::deleteUnheldTemporaryFile(name)) ++removed;
    return removed;
}

bool resolveFile(ArchiveSlot* slot, const StrValue& name, StrValue& outPath) {
    if (slot) deletePendingFile(*slot);
    const std::string requested = name.cStr();  // outPath may be name itself
    if (requested.empty()) {
        outPath = "";
        return false;
    }
    const std::string onDisk = platform::nativePath(requested);
    if (platform::canOpenForReading(onDisk)) {
        outPath = onDisk.c_str();
        return true;
    }
    if (!slot || !slot->enabled) return false;
    return resolveFromArchive(*slot, requested, outPath);
}

void resetArchiveSlot(ArchiveSlot& slot, const std::string& archivePath) {
    slot.enabled = true;
    deletePendingFile(slot);
    slot.archivePath = archivePath;
}

void setArchive(const StrValue& general, const StrValue& media) {
    if (generalArchive) resetArchiveSlot(*generalArchive, general.cStr());
    if (mediaArchive) resetArchiveSlot(*mediaArchive, media.cStr());
}

void startArchiveSlots() {
    removeLeftoverUnpackedFiles();
    if (!ownedGeneralArchive) ownedGeneralArchive = std::make_unique<ArchiveSlot>();
    if (!ownedMediaArchive) ownedMediaArchive = std::make_unique<ArchiveSlot>();
    generalArchive = ownedGeneralArchive.get();
    mediaArchive = ownedMediaArchive.get();
    const std::string executable = platform::executablePath();
    resetArchiveSlot(*generalArchive, executable);
    resetArchiveSlot(*mediaArchive, executable);
}

// Each slot's pending file is deleted before the slot goes.
void stopArchiveSlots() {
    for (ArchiveSlot* slot : {generalArchive, mediaArchive})
        if (slot) resetArchiveSlot(*slot, "");
    generalArchive = mediaArchive = nullptr;
    ownedGeneralArchive.reset();
    ownedMediaArchive.reset();
}

} // namespace tarvoke
