// Packet connections: TCP with the "NL" packet framing that peers built on the original socket
// library speak. On the wire each packet is "N", "L", the payload length as a big-endian 16-bit
// number (at most 16384), then the payload. A header that breaks these rules leaves the stream
// out of step for good, so the connection is then treated as a peer that has gone.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>
#include "platform/Sockets.h"

namespace tarvoke {

constexpr std::size_t packetHeaderSize = 4;
constexpr std::size_t maxPacketPayload = 16384;

// The header of a packet of `size` payload bytes (size <= maxPacketPayload).
void writePacketHeader(std::uint8_t* header, std::size_t size);

// Cuts a received byte stream into packets. Bytes come in with `feed`; `next` hands out one
// whole packet at a time and keeps what follows for the next call. Holds at most one unfinished
// packet plus the last bytes fed.
class PacketFramer {
public:
    enum class Next { Packet, NeedMore, Broken };

    void feed(const std::uint8_t* bytes, std::size_t count);
    Next next(std::vector<std::uint8_t>& packet);
    bool hasWholePacket() const;  // next() would give a packet without more bytes
    bool isBroken() const { return broken_; }
    std::size_t buffered() const { return buffer_.size() - start_; }

private:
    bool headerIsBad() const;

    std::vector<std::uint8_t> buffer_;
    std::size_t start_ = 0;  // where the next packet begins in buffer_
    bool broken_ = false;
};

// One framed connection over a socket. The reading side belongs to one thread (the network
// thread); writes may come from any thread and go out as whole packets, one writer at a time,
// so packets from two threads never interleave on the wire.
class PacketConnection {
public:
    enum class Read { Packet, Nothing, Gone };

    explicit PacketConnection(platform::Socket socket);
    PacketConnection(const PacketConnection&) = delete;
    PacketConnection& operator=(const PacketConnection&) = delete;

    // Non-blocking: one whole packet, or Nothing while it is incomplete, or Gone once the peer
    // closed or reset the connection or broke the framing (then always Gone).
    Read read(std::vector<std::uint8_t>& packet);
    // The whole packet or nothing of it, waiting at most timeoutMs for room. A packet that could
    // only be sent in part leaves the connection gone (the peer could never find the next one).
    bool write(const std::uint8_t* payload, std::size_t size, int timeoutMs);

    bool hasWholePacket() const { return framer_.hasWholePacket(); }
    bool isGone() const { return gone_; }
    void markGone() { gone_ = true; }  // treated as a peer that has gone from now on
    platform::SocketHandle handle() const { return socket_.handle(); }

private:
    platform::Socket socket_;
    PacketFramer framer_;              // reading side only
    std::mutex writing_;               // one packet on the wire at a time
    std::atomic<bool> gone_{false};
};

} // namespace tarvoke
