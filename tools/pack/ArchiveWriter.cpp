#include "pack/ArchiveWriter.h"
#include <lzo/lzo1x.h>
#include <algorithm>
#include <limits>
#include <stdexcept>
#include "files/ArchiveReader.h"

namespace tarvoke::pack {
namespace {

constexpr std::size_t longestName = 255;          // the length is one byte
constexpr std::size_t entryNumbersSize = 8;       // int32 offset, int32 size
constexpr std::size_t unpackedSizeField = 4;
// Offsets and the directory position are int32, counted from either end of the file.
constexpr std::uint64_t largestArchive = std::uint64_t(std::numeric_limits<std::int32_t>::max());

char foldAsciiCase(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

void appendLittleEndian32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(std::uint8_t(value >> shift));
}

std::string quoted(const std::string& name) { return "'" + printableName(name) + "'"; }

// A length byte of 0 ends the directory, so an empty name cannot be stored at all.
std::optional<std::string> encodingNameProblem(const std::string& name) {
    if (name.empty()) return std::string("a member name is empty");
    if (name.size() > longestName) return "member name longer than 255 bytes: " + quoted(name);
    return std::nullopt;
}

bool isControlCharacter(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }

// The length of the printable character starting at `at`: a visible ASCII character other than
// the backslash, or a well-formed UTF-8 sequence of a character from U+00A0 on (no C1 controls,
// surrogates or overlong forms). 0 when there is none.
std::size_t printableLength(const std::string& name, std::size_t at) {
    const unsigned char lead = static_cast<unsigned char>(name[at]);
    if (lead < 0x80) return lead >= 0x20 && lead < 0x7F && lead != '\\' ? 1 : 0;
    const std::size_t length = lead >= 0xC2 && lead < 0xE0 ? 2 : lead >= 0xE0 && lead < 0xF0 ? 3 : lead >= 0xF0 && lead < 0xF5 ? 4 : 0;
    if (length == 0 || at + length > name.size()) return 0;
    std::uint32_t code = lead & (0x7Fu >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char next = static_cast<unsigned char>(name[at + i]);
        if ((next & 0xC0) != 0x80) return 0;
        code = code << 6 | (next & 0x3F);
    }
    static const std::uint32_t smallest[] = {0, 0, 0xA0, 0x800, 0x10000};
    if (code < smallest[length] || (code >= 0xD800 && code < 0xE000) || code > 0x10FFFF) return 0;
    return length;
}

std::string escaped(unsigned char byte) {
    switch (byte) {
    case '\t': return "\\t";
    case '\n': return "\\n";
    case '\r': return "\\r";
    case '\\': return "\\\\";
    default: break;
    }
    static const char digits[] = "0123456789abcdef";
    return std::string("\\x") + digits[byte >> 4] + digits[byte & 0x0F];
}

void requireEncodable(const PackMember& member) {
    std::optional<std::string> problem = encodingNameProblem(member.name);
    if (!problem) problem = sizeProblem(member.name, member.bytes.size());
    if (problem) throw std::invalid_argument(*problem);
}

std::vector<std::uint8_t> compressLzo(const std::vector<std::uint8_t>& bytes) {
    static const bool lzoReady = lzo_init() == LZO_E_OK;
    if (!lzoReady) throw std::runtime_error("the LZO library failed to initialise");
    std::vector<lzo_align_t> workMemory((LZO1X_999_MEM_COMPRESS + sizeof(lzo_align_t) - 1) / sizeof(lzo_align_t));
    // LZO1X's worst case for incompressible input.
    std::vector<std::uint8_t> packed(bytes.size() + bytes.size() / 16 + 64 + 3);
    static const std::uint8_t nothing = 0;  // a valid source address for an empty member
    lzo_uint packedSize = packed.size();
    const int result = lzo1x_999_compress(bytes.empty() ? &nothing : bytes.data(), bytes.size(), packed.data(),
                                          &packedSize, workMemory.data());
    if (result != LZO_E_OK) throw std::runtime_error("LZO compression failed");
    packed.resize(packedSize);
    return packed;
}

std::size_t entrySize(const PackMember& member) { return 1 + member.name.size() + entryNumbersSize; }

// Where the stored numbers count from: the file's start, or (negative) its end.
struct OffsetBase {
    bool fromEnd;
    std::uint64_t archiveStart;  // the archive's first byte within the final file
    std::uint64_t fileSize;      // the final file's size

    std::int32_t offsetOf(std::uint64_t positionInArchive) const {
        const std::int64_t position = std::int64_t(archiveStart + positionInArchive);
        return std::int32_t(fromEnd ? position - std::int64_t(fileSize) : position);
    }
};

void appendEntry(std::vector<std::uint8_t>& directory, const std::string& name, std::int32_t offset,
                 std::size_t blockSize) {
    directory.push_back(std::uint8_t(name.size()));
    directory.insert(directory.end(), name.begin(), name.end());
    appendLittleEndian32(directory, std::uint32_t(offset));
    appendLittleEndian32(directory, std::uint32_t(blockSize));
}

std::vector<std::vector<std::uint8_t>> packBlocks(const std::vector<PackMember>& members) {
    for (const PackMember& member : members) requireEncodable(member);
    std::vector<std::vector<std::uint8_t>> blocks;
    for (const PackMember& member : members) blocks.push_back(packBlock(member.bytes));
    return blocks;
}

std::uint64_t archiveSizeOf(const std::vector<PackMember>& members,
                            const std::vector<std::vector<std::uint8_t>>& blocks) {
    std::uint64_t size = 1 + archive::trailerSize;  // the directory's end byte and the trailer
    for (std::size_t index = 0; index < members.size(); ++index)
        size += blocks[index].size() + entrySize(members[index]);
    if (size > largestArchive)
        throw std::length_error("the archive would be larger than its 32-bit offsets can address (2 GiB)");
    return size;
}

std::vector<std::uint8_t> buildArchive(const std::vector<PackMember>& members, bool fromEnd,
                                       std::uint64_t existingSize) {
    const std::vector<std::vector<std::uint8_t>> blocks = packBlocks(members);
    const std::uint64_t archiveSize = archiveSizeOf(members, blocks);
    const OffsetBase base{fromEnd, existingSize, existingSize + archiveSize};
    std::vector<std::uint8_t> bytes;
    bytes.reserve(std::size_t(archiveSize));
    std::vector<std::uint8_t> directory;
    for (std::size_t index = 0; index < members.size(); ++index) {
        appendEntry(directory, members[index].name, base.offsetOf(bytes.size()), blocks[index].size());
        bytes.insert(bytes.end(), blocks[index].begin(), blocks[index].end());
    }
    directory.push_back(0);
    const std::int32_t directoryOffset = base.offsetOf(bytes.size());
    bytes.insert(bytes.end(), directory.begin(), directory.end());
    bytes.insert(bytes.end(), std::begin(archive::magic), std::end(archive::magic));
    appendLittleEndian32(bytes, std::uint32_t(directoryOffset));
    return bytes;
}

} // namespace

std::optional<std::string> nameProblem(const std::string& name) {
    if (std::optional<std::string> problem = encodingNameProblem(name)) return problem;
    // The engine looks members up by a path's final component, so these could never be found,
    // and unpacking them into a folder would write elsewhere.
    if (name.find_first_of("/\\") != std::string::npos)
        return "member name contains a directory separator: " + quoted(name);
    if (name.find('\0') != std::string::npos) return std::string("a member name contains a NUL byte");
    // Written out, such a name could carry terminal escapes or forge lines of a listing.
    if (std::any_of(name.begin(), name.end(), isControlCharacter))
        return "member name contains a control character: " + quoted(name);
    if (name == "." || name == "..") return "member name is not a file name: " + quoted(name);
    return std::nullopt;
}

std::string printableName(const std::string& name) {
    std::string shown;
    for (std::size_t at = 0; at < name.size();) {
        const std::size_t length = printableLength(name, at);
        if (length > 0) {
            shown.append(name, at, length);
            at += length;
        } else {
            shown += escaped(static_cast<unsigned char>(name[at++]));
        }
    }
    return shown;
}

std::optional<std::string> sizeProblem(const std::string& name, std::uint64_t unpackedSize) {
    if (unpackedSize <= archive::largestUnpackedSize) return std::nullopt;
    return "member " + quoted(name) + " is larger than 1 GiB, more than the engine unpacks";
}

std::optional<std::string> memberListProblem(const std::vector<PackMember>& members) {
    for (std::size_t index = 0; index < members.size(); ++index) {
        const PackMember& member = members[index];
        if (std::optional<std::string> problem = nameProblem(member.name)) return problem;
        if (std::optional<std::string> problem = sizeProblem(member.name, member.bytes.size())) return problem;
        for (std::size_t earlier = 0; earlier < index; ++earlier)
            if (sameStoredName(members[earlier].name, member.name))
                return "two members named " + quoted(members[earlier].name) + " and " + quoted(member.name) +
                       ": the engine ignores case in names and would only ever find the first";
    }
    return std::nullopt;
}

bool sameStoredName(const std::string& first, const std::string& second) {
    if (first.size() != second.size()) return false;
    for (std::size_t index = 0; index < first.size(); ++index)
        if (foldAsciiCase(first[index]) != foldAsciiCase(second[index])) return false;
    return true;
}

std::vector<std::uint8_t> packBlock(const std::vector<std::uint8_t>& bytes) {
    if (std::optional<std::string> problem = sizeProblem("(block)", bytes.size())) throw std::invalid_argument(*problem);
    std::vector<std::uint8_t> block;
    const std::vector<std::uint8_t> packed = compressLzo(bytes);
    block.reserve(unpackedSizeField + packed.size());
    appendLittleEndian32(block, std::uint32_t(bytes.size()));
    block.insert(block.end(), packed.begin(), packed.end());
    return block;
}

std::vector<std::uint8_t> buildStandaloneArchive(const std::vector<PackMember>& members) {
    return buildArchive(members, false, 0);
}

std::vector<std::uint8_t> buildAppendedArchive(const std::vector<PackMember>& members,
                                               std::uint64_t existingSize) {
    return buildArchive(members, true, existingSize);
}

} // namespace tarvoke::pack
