// ArchiveReader: reads the packed resource archive: the trailer at the end of the file, the
// directory of members, and LZO1X-compressed member data. Every number in the file is checked
// against the file's size before it is used, so a damaged or hostile archive fails cleanly.
//
// Layout (little-endian): ... member blocks ... directory ... "kqZ" + int32 directory offset D.
// D >= 0 counts from the start of the file, D < 0 from its end (an archive appended to another
// file); member offsets count the same way. A directory entry is: uint8 name length L (0 ends
// the directory), L name bytes, int32 offset, int32 size. A member block is uint32 unpacked
// size U followed by the LZO1X stream.
#pragma once
#include "values/ByteOrder.h"
#include <cstdint>
#include <string>
#include <vector>
#include "platform/Files.h"

namespace tarvoke {

namespace archive {
constexpr unsigned char magic[3] = {0x6B, 0x71, 0x5A};  // "kqZ"
constexpr int trailerSize = 7;
constexpr std::uint32_t largestUnpackedSize = 1u << 30;  // no member unpacks to more than 1 GiB
// LZO1X gives at most 255 bytes for each input byte (a run's length byte); with the stream's
// few bytes of framing this bounds what a block can honestly unpack to.
constexpr std::uint64_t largestExpansion = 256;
} // namespace archive

struct ArchiveEntry {
    std::string name;          // as stored: the member's file name, no directory part
    std::int32_t offset = 0;   // as stored: from the start (D >= 0) or the end (D < 0)
    std::int32_t size = 0;     // bytes of the data block
    std::uint64_t start = 0;   // where the block starts in the file
};

class ArchiveReader {
public:
    enum class OpenResult {
        Opened,       // a trailer with the magic; the directory can be read
        Unopenable,   // no such file, not readable, or not a regular file
        Unreadable,   // too short to hold a trailer, or the trailer could not be read
        NotArchive,   // the trailer lacks the magic
        NoDirectory,  // the directory offset points outside the file: no member can be found
    };

    OpenResult open(const std::string& path);
    // The next directory entry; false at the end of the directory or where an entry is damaged
    // (a name, offset or size running past the directory's room, or a block outside the file).
    bool nextEntry(ArchiveEntry& entry);
    // After nextEntry gave false: whether it stopped at a damaged entry rather than the end.
    bool directoryDamaged() const { return directoryDamaged_; }
    // The member's unpacked size without unpacking it; false when the block cannot hold it or
    // it claims more than the block's bytes can give.
    bool readUnpackedSize(const ArchiveEntry& entry, std::uint32_t& unpackedSize);
    // Reads and unpacks the member's block. False when the block is too small to hold its size,
    // claims more than its bytes can give, or LZO fails or gives another size than U.
    bool unpack(const ArchiveEntry& entry, std::vector<std::uint8_t>& bytes);
    void close() { file_.reset(); }

private:
    bool readAt(std::uint64_t position, void* into, std::size_t count);

    platform::FileHandle file_;
    std::uint64_t fileSize_ = 0;
    bool fromEnd_ = false;           // D < 0
    std::uint64_t directoryEnd_ = 0; // the trailer's first byte: no entry may reach past it
    std::uint64_t cursor_ = 0;       // the next entry's position
    bool directoryEnded_ = false;
    bool directoryDamaged_ = false;
};

// Unpacks an LZO1X stream into exactly `unpackedSize` bytes; false on any mismatch.
bool unpackLzo(const std::uint8_t* packed, std::size_t packedSize, std::uint32_t unpackedSize,
               std::vector<std::uint8_t>& bytes);

} // namespace tarvoke
