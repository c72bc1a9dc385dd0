// tarvoke-pack: makes, appends, lists and unpacks the engine's packed resource archives.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>
#include "files/ArchiveReader.h"
#include "pack/ArchiveWriter.h"

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

std::string quoted(const std::string& text) { return "'" + text + "'"; }

std::string withSystemError(const std::string& message) { return message + ": " + std::strerror(errno); }

void reportError(const std::string& message) { std::cerr << "tarvoke-pack: " << message << '\n'; }

// Raw descriptor writes, because append must be able to cut the target back to its old size.
class OutputFile {
public:
    // Errors name `shownPath`: the file the user asked for, not a temporary one.
    OutputFile(const std::string& path, int flags, const std::string& shownPath)
        : path_(shownPath), descriptor_(::open(path.c_str(), flags | O_CLOEXEC, 0666)) {
        if (descriptor_ < 0) throw PackError(withSystemError("cannot open " + quoted(shownPath)));
    }
    ~OutputFile() {
        if (descriptor_ >= 0) ::close(descriptor_);
    }
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    std::uint64_t regularFileSize() const {
        struct stat status {};
        if (::fstat(descriptor_, &status) != 0 || !S_ISREG(status.st_mode))
            throw PackError(quoted(path_) + " is not a regular file");
        return std::uint64_t(status.st_size);
    }

    bool writeAll(const std::vector<std::uint8_t>& bytes, std::uint64_t at) {
        for (std::size_t done = 0; done < bytes.size();) {
            const ssize_t written = ::pwrite(descriptor_, bytes.data() + done, bytes.size() - done, off_t(at + done));
            if (written < 0 && errno == EINTR) continue;
            if (written <= 0) return false;
            done += std::size_t(written);
        }
        return true;
    }

    bool close() {
        const int result = ::close(descriptor_);
        descriptor_ = -1;
        return result == 0;
    }

private:
    std::string path_;
    int descriptor_;
};

// Removes a half-written file unless the write went through.
class PendingFile {
public:
    explicit PendingFile(std::string path) : path_(std::move(path)) {}
    ~PendingFile() {
        if (!committed_) std::remove(path_.c_str());
    }
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;
    void commit() { committed_ = true; }

private:
    std::string path_;
    bool committed_ = false;
};

// Writes beside the final path and renames over it, so a failure never leaves a half-written
// file there, and a symbolic link already at the final path is replaced rather than followed.
// The temporary name is short because the final name may already be 255 bytes long.
void writeWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    const fs::path folder = fs::path(path).parent_path();
    const std::string temporary = (folder / (".tarvoke-pack-" + std::to_string(::getpid()) + ".partial")).string();
    PendingFile pending(temporary);
    OutputFile file(temporary, O_WRONLY | O_CREAT | O_EXCL, path);
    if (!file.writeAll(bytes, 0) || !file.close()) throw PackError(withSystemError("cannot write " + quoted(path)));
    if (std::rename(temporary.c_str(), path.c_str()) != 0)
        throw PackError(withSystemError("cannot write " + quoted(path)));
    pending.commit();
}

std::uint64_t inputFileSize(const std::string& path) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (error) throw PackError("cannot read " + quoted(path) + ": " + error.message());
    if (!fs::is_regular_file(status)) throw PackError(quoted(path) + " is not a regular file");
    return fs::file_size(path);
}

void readContents(const std::string& path, std::uint64_t size, PackMember& member) {
    std::ifstream in(path, std::ios::binary);
    member.bytes.resize(std::size_t(size));
    if (!in.read(reinterpret_cast<char*>(member.bytes.data()), std::streamsize(size)))
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
    OutputFile target(targetPath, O_WRONLY, targetPath);
    const std::uint64_t originalSize = target.regularFileSize();
    const std::vector<std::uint8_t> bytes = buildAppendedArchive(members, originalSize);
    if (target.writeAll(bytes, originalSize) && target.close()) return 0;
    const std::string failure = withSystemError("cannot append to " + quoted(targetPath));
    if (::truncate(targetPath.c_str(), off_t(originalSize)) != 0)
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

std::vector<ArchiveEntry> readDirectory(ArchiveReader& reader, const std::string& path) {
    openArchive(reader, path);
    std::vector<ArchiveEntry> entries;
    for (ArchiveEntry entry; reader.nextEntry(entry);) entries.push_back(entry);
    if (reader.directoryDamaged())
        throw PackError(quoted(path) + " has a damaged directory entry after " + std::to_string(entries.size()) +
                        " members: its name or data block runs outside the file");
    return entries;
}

std::vector<std::uint8_t> unpackMember(ArchiveReader& reader, const ArchiveEntry& entry) {
    std::vector<std::uint8_t> bytes;
    if (!reader.unpack(entry, bytes)) throw PackError("member " + quoted(entry.name) + " is damaged: its data does not unpack");
    return bytes;
}

int listArchive(const std::vector<std::string>& arguments) {
    if (arguments.size() != 1) throw UsageError("list needs exactly one archive");
    ArchiveReader reader;
    for (const ArchiveEntry& entry : readDirectory(reader, arguments[0]))
        // Unpacking each member also vouches that the archive is whole.
        std::cout << entry.name << '\t' << unpackMember(reader, entry).size() << '\t' << entry.size << '\n';
    if (!std::cout.flush()) throw PackError("cannot write the listing");
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
int extractArchive(const std::vector<std::string>& arguments) {
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
            reportError(failure.what());
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}

int run(const std::vector<std::string>& arguments) {
    if (arguments.empty()) {
        std::cerr << usageText;
        return 2;
    }
    const std::string& command = arguments[0];
    if (command == "--help" || command == "-h") {
        std::cout << usageText;
        return 0;
    }
    const std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
    if (command == "create") return createArchive(rest);
    if (command == "append") return appendArchive(rest);
    if (command == "list") return listArchive(rest);
    if (command == "extract") return extractArchive(rest);
    throw UsageError("unknown command " + quoted(command));
}

} // namespace
} // namespace tarvoke::pack

int main(int argc, char** argv) {
    using namespace tarvoke::pack;
    // Under a file-size limit a write then fails with EFBIG, which append can undo, instead of
    // the signal killing the tool with the target half-extended.
    std::signal(SIGXFSZ, SIG_IGN);
    try {
        return run({argv + 1, argv + argc});
    } catch (const UsageError& error) {
        reportError(std::string(error.what()) + " (see tarvoke-pack --help)");
        return 2;
    } catch (const std::bad_alloc&) {
        reportError("out of memory");
        return 1;
    } catch (const std::exception& error) {
        reportError(error.what());
        return 1;
    }
}
