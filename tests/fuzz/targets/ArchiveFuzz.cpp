// The archive reader on arbitrary bytes: every directory entry it accepts lies inside the file,
// and a member unpacks to exactly the size its block announces or not at all.
#include "files/ArchiveReader.h"
#include "support/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarvoke;
    ArchiveReader reader;
    if (reader.open(fuzz::writeInput(data, size, "input.kqz")) != ArchiveReader::OpenResult::Opened) return 0;
    for (ArchiveEntry entry; reader.nextEntry(entry);) {
        fuzz::check(entry.size >= 0 && entry.start + std::uint64_t(entry.size) <= size, "an entry's block lies in the file");
        std::uint32_t announced = 0;
        const bool sized = reader.readUnpackedSize(entry, announced);
        std::vector<std::uint8_t> bytes;
        if (reader.unpack(entry, bytes)) {
            fuzz::check(sized && bytes.size() == announced, "a member unpacks to the size its block announces");
        } else {
            fuzz::check(bytes.empty(), "a member that does not unpack gives no bytes");
        }
    }
    return 0;
}
