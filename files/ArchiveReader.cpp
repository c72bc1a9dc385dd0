#include "files/ArchiveReader.h"
#include <lzo/lzo1x.h>
#include <cstring>

namespace tarvoke {

bool unpackLzo(const std::uint8_t* packed, std::size_t packedSize, std::uint32_t unpackedSize,
               std::vector<std::uint8_t>& bytes) {
    static const bool lzoReady = lzo_init() == LZO_E_OK;
    if (!lzoReady) return false;
    bytes.resize(unpackedSize);
    lzo_uint produced = unpackedSize;
    const int result = lzo1x_decompress_safe(packed, lzo_uint(packedSize), bytes.data(), &produced, nullptr);
    return result == LZO_E_OK && produced == unpackedSize;
}

ArchiveReader::OpenResult ArchiveReader::open(const std::string& path) {
    file_ = platform::openFileForReading(path);
    if (!file_) return OpenResult::Unopenable;
    if (std::fseek(file_.get(), 0, SEEK_END) != 0) return OpenResult::Unreadable;
    const long end = std::ftell(file_.get());
    if (end < archive::trailerSize) return OpenResult::Unreadable;
    fileSize_ = std::uint64_t(end);

    std::uint8_t trailer[archive::trailerSize];
    if (!readAt(fileSize_ - archive::trailerSize, trailer, sizeof trailer)) return OpenResult::Unreadable;
    if (std::memcmp(trailer, archive::magic, sizeof archive::magic) != 0) return OpenResult::NotArchive;

    const std::int32_t directoryOffset = std::int32_t(readLittleEndian32(trailer + 3));
    fromEnd_ = directoryOffset < 0;
    directoryEnd_ = fileSize_ - archive::trailerSize;
    const std::int64_t directoryStart =
        fromEnd_ ? std::int64_t(fileSize_) + directoryOffset : std::int64_t(directoryOffset);
    if (directoryStart < 0 || std::uint64_t(directoryStart) > directoryEnd_) return OpenResult::NoDirectory;
    cursor_ = std::uint64_t(directoryStart);
    directoryEnded_ = false;
    directoryDamaged_ = false;
    return OpenResult::Opened;
}

bool ArchiveReader::readAt(std::uint64_t position, void* into, std::size_t count) {
    return file_ && std::fseek(file_.get(), long(position), SEEK_SET) == 0 &&
           std::fread(into, 1, count, file_.get()) == count;
}

bool ArchiveReader::nextEntry(ArchiveEntry& entry) {
    if (directoryEnded_ || cursor_ >= directoryEnd_) return false;
    directoryEnded_ = true;  // until this entry proves whole
    std::uint8_t nameLength = 0;
    if (!readAt(cursor_, &nameLength, 1)) return false;
    if (nameLength == 0) return false;  // the regular end
    directoryDamaged_ = true;
    const std::uint64_t entryEnd = cursor_ + 1 + nameLength + 8;
    if (entryEnd > directoryEnd_) return false;

    char name[255];
    std::uint8_t numbers[8];
    if (!readAt(cursor_ + 1, name, nameLength) || !readAt(cursor_ + 1 + nameLength, numbers, 8)) return false;
    entry.name.assign(name, nameLength);
    entry.offset = std::int32_t(readLittleEndian32(numbers));
    entry.size = std::int32_t(readLittleEndian32(numbers + 4));

    const std::int64_t start = fromEnd_ ? std::int64_t(fileSize_) + entry.offset : std::int64_t(entry.offset);
    if (entry.size < 0 || start < 0 || std::uint64_t(start) + std::uint64_t(entry.size) > fileSize_) return false;
    entry.start = std::uint64_t(start);
    cursor_ = entryEnd;
    directoryEnded_ = false;
    directoryDamaged_ = false;
    return true;
}

bool ArchiveReader::readUnpackedSize(const ArchiveEntry& entry, std::uint32_t& unpackedSize) {
    std::uint8_t sizeField[4];
    if (entry.size < 4 || !readAt(entry.start, sizeField, sizeof sizeField)) return false;
    unpackedSize = readLittleEndian32(sizeField);
    const std::uint64_t packedSize = std::uint64_t(entry.size) - 4;
    return unpackedSize <= archive::largestUnpackedSize && unpackedSize <= packedSize * archive::largestExpansion;
}

bool ArchiveReader::unpack(const ArchiveEntry& entry, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    if (entry.size < 4 || entry.start + std::uint64_t(entry.size) > fileSize_) return false;
    std::uint32_t unpackedSize = 0;
    if (!readUnpackedSize(entry, unpackedSize)) return false;
    std::vector<std::uint8_t> block(std::size_t(entry.size));
    if (!readAt(entry.start, block.data(), block.size())) return false;
    const std::uint64_t packedSize = block.size() - 4;
    if (!unpackLzo(block.data() + 4, std::size_t(packedSize), unpackedSize, bytes)) {
        bytes.clear();
        return false;
    }
    return true;
}

} // namespace tarvoke
