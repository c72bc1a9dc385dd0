// The commands of tarvoke-pack. Archive contents are untrusted: every name shown is escaped,
// and files are only ever written through platform::replaceFile, which never follows a link or
// leaves a half-written file.
#include "pack/PackCommands.h"
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include "files/ArchiveReader.h"
#include "pack/ArchiveWriter.h"
#include "platform/Files.h"

namespace tarvoke::pack {
namespace {

namespace fs = std::filesystem;

const char* const usageText =
    "usage: tarvoke-pack create ARCHIVE FILE...  pack the files into a new archive\n"
    "       tarvoke-pack append TARGET FILE...   append an archive of the files to TARGET (a built game)\n"
    "       tarvoke-pack list ARCHIVE            one line per member: name, unpacked size, packed size\n"
    "       tarvoke-pack extract ARCHIVE DIR     unpack every member into DIR\n"
    "Members are stored under their file names alone; the engine finds them ignoring letter case.\n";

// A failure to report as one line after "tarvoke-pack: ".
class PackError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};
class UsageError : public PackError {
    using PackError::PackError;
};

std::string quoted(const std::string& text) { return "'" + printableName(text) + "'"; }

std::string withSystemError(const std::string& message) { return message + ": " + std::strerror(errno); }

void reportError(std::ostream& err, const std::string& message) { err << "tarvoke-pack: " << message << '\n'; }

void writeWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    if (!platform::replaceFile(path, bytes.data(), bytes.size()))
        throw PackError(withSystemError("cannot write " + quoted(path)));
}

std::uint64_t inputFileSize(const std::string& path) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (error) throw PackError("cannot read " + quoted(path) + ": " + error.message());
    if (!fs::is_regular_file(status)) throw PackError(quoted(path) + " is not a regular file");
    return fs::file_size(path);
}

void readContents(const std::string& path, std::uint64_t size, PackMember& member) {
    const platform::FileHandle in = platform::openFileForReading(path);
    member.bytes.resize(std::size_t(size));
    if (!in || std::fread(member.bytes.data(), 1, member.bytes.size(), in.get()) != member.bytes.size())
        throw PackError("cannot read " + quoted(path));
}

// Every name and size is checked before any contents are read, so a mistake shows at once.
std::vector<PackMember> readMembers(const std::vector<std::string>& paths) {
    std::vector<PackMember> members;
    std::vector<std::uint64_t> sizes;
    for (const std::string& path : paths) {
        sizes.push_back(inputFileSize(path));
        members.push_back({fs::path(path).filename().string(), {}});
        if (std::optional<std::string> problem = sizeProblem(members.back().name, sizes.back()))
            throw PackError(*problem);
    }
    if (std::optional<std::string> problem = memberListProblem(members)) throw PackError(*problem);
    for (std::size_t index = 0; index < paths.size(); ++index) readContents(paths[index], sizes[index], members[index]);
    return members;
}

std::vector<std::string> inputPaths(const std::vector<std::string>& arguments, const char* usageMistake) {
    if (arguments.size() < 2) throw UsageError(usageMistake);
    return {arguments.begin() + 1, arguments.end()};
}

int createArchive(const std::vector<std::string>& arguments) {
    const std::vector<PackMember> members = readMembers(inputPaths(arguments, "create needs an archive and at least one file"));
    writeWholeFile(arguments[0], buildStandaloneArchive(members));
    return 0;
}

// The target keeps every byte it had; if the archive cannot be written whole, the target is cut
// back to its old size.
int appendArchive(const std::vector<std::string>& arguments) {
    const std::vector<PackMember> members = readMembers(inputPaths(arguments, "append needs a target and at least one file"));
    const std::string& targetPath = arguments[0];
    platform::FileWriter target;
    if (!target.open(targetPath)) {
        if (target.notRegularFile()) throw PackError(quoted(targetPath) + " is not a regular file");
        throw PackError(withSystemError("cannot open " + quoted(targetPath)));
    }
    const std::uint64_t originalSize = target.size();
    const std::vector<std::uint8_t> bytes = buildAppendedArchive(members, originalSize);
    if (target.writeAt(originalSize, bytes.data(), bytes.size()) && target.close()) return 0;
    const std::string failure = withSystemError("cannot append to " + quoted(targetPath));
    if (!target.cutTo(originalSize) || !target.close())
        throw PackError(failure + "; could not cut it back to its original " + std::to_string(originalSize) + " bytes");
    throw PackError(failure + "; it is left as it was");
}

void openArchive(ArchiveReader& reader, const std::string& path) {
    switch (reader.open(path)) {
    case ArchiveReader::OpenResult::Opened: return;
    case ArchiveReader::OpenResult::Unopenable: throw PackError("cannot open archive " + quoted(path));
    case ArchiveReader::OpenResult::Unreadable:
        throw PackError(quoted(path) + " is not an archive: too short or unreadable");
    case ArchiveReader::OpenResult::NotArchive:
        throw PackError(quoted(path) + " is not an archive: it does not end with an archive trailer");
    case ArchiveReader::OpenResult::NoDirectory:
        throw PackError(quoted(path) + " is not an archive: its trailer points outside the file");
    }
    throw PackError("cannot read archive " + quoted(path));
}

// Members that share or overlap packed data would let a small archive unpack to any size.
void refuseOverlappingBlocks(const std::vector<ArchiveEntry>& entries, const std::string& path) {
    std::vector<const ArchiveEntry*> byStart;
    for (const ArchiveEntry& entry : entries)
        if (entry.size > 0) byStart.push_back(&entry);
    std::sort(byStart.begin(), byStart.end(), [](auto* a, auto* b) { return a->start < b->start; });
    const ArchiveEntry* reachesFurthest = nullptr;
    for (const ArchiveEntry* entry : byStart) {
        if (reachesFurthest && entry->start < reachesFurthest->start + std::uint64_t(reachesFurthest->size))
            throw PackError(quoted(path) + " is damaged: members " + quoted(reachesFurthest->name) + " and " +
                            quoted(entry->name) + " share packed data");
        if (!reachesFurthest || entry->start + std::uint64_t(entry->size) >
                                    reachesFurthest->start + std::uint64_t(reachesFurthest->size))
            reachesFurthest = entry;
    }
}

std::vector<ArchiveEntry> readDirectory(ArchiveReader& reader, const std::string& path) {
    openArchive(reader, path);
    std::vector<ArchiveEntry> entries;
    for (ArchiveEntry entry; reader.nextEntry(entry);) entries.push_back(entry);
    if (reader.directoryDamaged())
        throw PackError(quoted(path) + " has a damaged directory entry after " + std::to_string(entries.size()) +
                        " members: its name or data block runs outside the file");
    refuseOverlappingBlocks(entries, path);
    return entries;
}

std::vector<std::uint8_t> unpackMember(ArchiveReader& reader, const ArchiveEntry& entry) {
    std::vector<std::uint8_t> bytes;
    if (!reader.unpack(entry, bytes)) throw PackError("member " + quoted(entry.name) + " is damaged: its data does not unpack");
    return bytes;
}

int listArchive(const std::vector<std::string>& arguments, std::ostream& out) {
    if (arguments.size() != 1) throw UsageError("list needs exactly one archive");
    ArchiveReader reader;
    for (const ArchiveEntry& entry : readDirectory(reader, arguments[0])) {
        // Unpacking each member also vouches that the archive is whole; a damaged one ends the
        // listing before its line starts.
        const std::size_t unpackedSize = unpackMember(reader, entry).size();
        out << printableName(entry.name) << '\t' << unpackedSize << '\t' << entry.size << '\n';
    }
    if (!out.flush()) throw PackError("cannot write the listing");
    return 0;
}

void extractMember(ArchiveReader& reader, const std::vector<ArchiveEntry>& entries, std::size_t index,
                   const std::string& folder) {
    const ArchiveEntry& entry = entries[index];
    if (std::optional<std::string> problem = nameProblem(entry.name))
        throw PackError("refusing to unpack: " + *problem);
    for (std::size_t earlier = 0; earlier < index; ++earlier)
        if (sameStoredName(entries[earlier].name, entry.name))
            throw PackError("skipping member " + quoted(entry.name) + ": the engine only ever finds the earlier " +
                            quoted(entries[earlier].name));
    writeWholeFile(folder + "/" + entry.name, unpackMember(reader, entry));
}

// A member that cannot be unpacked is reported and skipped; the rest still come out.
int extractArchive(const std::vector<std::string>& arguments, std::ostream& err) {
    if (arguments.size() != 2) throw UsageError("extract needs an archive and a folder");
    ArchiveReader reader;
    const std::vector<ArchiveEntry> entries = readDirectory(reader, arguments[0]);
    std::error_code error;
    fs::create_directories(arguments[1], error);
    if (error) throw PackError("cannot make folder " + quoted(arguments[1]) + ": " + error.message());
    int failures = 0;
    for (std::size_t index = 0; index < entries.size(); ++index) {
        try {
            extractMember(reader, entries, index, arguments[1]);
        } catch (const PackError& failure) {
            reportError(err, failure.what());
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}

int run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    if (arguments.empty()) {
        err << usageText;
        return 2;
    }
    const std::string& command = arguments[0];
    if (command == "--help" || command == "-h") {
        out << usageText;
        return 0;
    }
    const std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
    if (command == "create") return createArchive(rest);
    if (command == "append") return appendArchive(rest);
    if (command == "list") return listArchive(rest, out);
    if (command == "extract") return extractArchive(rest, err);
    throw UsageError("unknown command " + quoted(command));
}

} // namespace

int runPackTool(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    try {
        return run(arguments, out, err);
    } catch (const UsageError& error) {
        reportError(err, std::string(error.what()) + " (see tarvoke-pack --help)");
        return 2;
    } catch (const std::bad_alloc&) {
        reportError(err, "out of memory");
        return 1;
    } catch (const std::exception& error) {
        reportError(err, error.what());
        return 1;
    }
}

} // namespace tarvoke::pack
