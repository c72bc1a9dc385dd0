// The "NL" packet framing on any byte stream, cut into chunks where the input says: it hands out
// exactly the packets a plain walk over the whole stream finds, in order, however the bytes
// arrive, and after a bad header it hands out nothing more.
#include <cstdio>
#include <cstdlib>
#include <vector>
#include "net/PacketConnection.h"

namespace {

void check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "check failed: %s\n", what);
    std::abort();
}

// The packets of a whole stream and whether it ends in a bad header.
std::vector<std::vector<std::uint8_t>> walk(const std::uint8_t* data, std::size_t size, bool& broken) {
    std::vector<std::vector<std::uint8_t>> packets;
    broken = false;
    for (std::size_t at = 0; at + 4 <= size;) {
        const std::size_t length = std::size_t(data[at + 2]) * 256 + data[at + 3];
        if (data[at] != 'N' || data[at + 1] != 'L' || length > 16384) {
            broken = true;
            break;
        }
        if (at + 4 + length > size) break;
        packets.emplace_back(data + at + 4, data + at + 4 + length);
        at += 4 + length;
    }
    return packets;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::size_t step = std::size_t(data[0]) * 7 + 1;  // chunk sizes 1..1786
    ++data, --size;
    bool brokenStream = false;
    const auto expected = walk(data, size, brokenStream);

    tarvoke::PacketFramer framer;
    std::vector<std::vector<std::uint8_t>> got;
    bool broken = false;
    for (std::size_t at = 0; at < size; at += step) {
        framer.feed(data + at, std::min(step, size - at));
        for (std::vector<std::uint8_t> packet;;) {
            const auto next = framer.next(packet);
            if (next == tarvoke::PacketFramer::Next::Packet) {
                check(!broken, "no packet after a bad header");
                got.push_back(packet);
                continue;
            }
            broken = broken || next == tarvoke::PacketFramer::Next::Broken;
            break;
        }
        check(framer.buffered() <= 4 + 16384 + step, "holds at most one unfinished packet and one chunk");
    }
    check(got == expected, "the same packets as a walk over the whole stream");
    check(broken == brokenStream, "a bad header is found whatever the chunks");
    return 0;
}
