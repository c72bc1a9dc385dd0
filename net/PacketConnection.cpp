#include "net/PacketConnection.h"
#include <algorithm>
#include <chrono>

namespace tarvoke {
namespace {

std::size_t payloadSizeAt(const std::uint8_t* header) { return std::size_t(header[2]) << 8 | header[3]; }

using Clock = std::chrono::steady_clock;

int millisecondsUntil(Clock::time_point deadline) {
    return int(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
}

} // namespace

void writePacketHeader(std::uint8_t* header, std::size_t size) {
    header[0] = 'N';
    header[1] = 'L';
    header[2] = std::uint8_t(size >> 8);
    header[3] = std::uint8_t(size);
}

void PacketFramer::feed(const std::uint8_t* bytes, std::size_t count) {
    if (broken_ || count == 0) return;
    // Drop what was handed out before growing, so the buffer never holds old packets.
    if (start_ > 0) {
        buffer_.erase(buffer_.begin(), buffer_.begin() + std::ptrdiff_t(start_));
        start_ = 0;
    }
    buffer_.insert(buffer_.end(), bytes, bytes + count);
}

bool PacketFramer::headerIsBad() const {
    const std::uint8_t* header = buffer_.data() + start_;
    return header[0] != 'N' || header[1] != 'L' || payloadSizeAt(header) > maxPacketPayload;
}

bool PacketFramer::hasWholePacket() const {
    if (broken_ || buffered() < packetHeaderSize || headerIsBad()) return false;
    return buffered() >= packetHeaderSize + payloadSizeAt(buffer_.data() + start_);
}

PacketFramer::Next PacketFramer::next(std::vector<std::uint8_t>& packet) {
    if (broken_) return Next::Broken;
    if (buffered() < packetHeaderSize) return Next::NeedMore;
    if (headerIsBad()) {
        broken_ = true;
        buffer_.clear();
        start_ = 0;
        return Next::Broken;
    }
    const std::size_t size = payloadSizeAt(buffer_.data() + start_);
    if (buffered() < packetHeaderSize + size) return Next::NeedMore;
    const auto first = buffer_.begin() + std::ptrdiff_t(start_ + packetHeaderSize);
    packet.assign(first, first + std::ptrdiff_t(size));
    start_ += packetHeaderSize + size;
    if (start_ == buffer_.size()) {
        buffer_.clear();
        start_ = 0;
    }
    return Next::Packet;
}

PacketConnection::PacketConnection(platform::Socket socket) : socket_(std::move(socket)) {
    if (socket_.isOpen()) platform::setBlocking(socket_, false);
    else gone_ = true;
}

PacketConnection::Read PacketConnection::read(std::vector<std::uint8_t>& packet) {
    // Only as many bytes are taken from the system as one packet can need, so a peer that
    // sends faster than we read cannot make the buffer grow.
    std::uint8_t chunk[packetHeaderSize + maxPacketPayload];
    for (;;) {
        if (gone_) return Read::Gone;
        switch (framer_.next(packet)) {
        case PacketFramer::Next::Packet: return Read::Packet;
        case PacketFramer::Next::Broken: gone_ = true; return Read::Gone;
        case PacketFramer::Next::NeedMore: break;
        }
        platform::SocketStatus status;
        const long received = platform::receiveSome(socket_, chunk, sizeof chunk, status);
        if (received > 0) {
            framer_.feed(chunk, std::size_t(received));
            continue;
        }
        if (status == platform::SocketStatus::WouldBlock) return Read::Nothing;
        gone_ = true;  // closed, reset or failed: the peer has gone either way
    }
}

bool PacketConnection::write(const std::uint8_t* payload, std::size_t size, int timeoutMs) {
    if (size > maxPacketPayload) return false;
    std::vector<std::uint8_t> wire(packetHeaderSize + size);
    writePacketHeader(wire.data(), size);
    std::copy(payload, payload + size, wire.begin() + packetHeaderSize);

    std::lock_guard<std::mutex> hold(writing_);
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    std::size_t sent = 0;
    while (!gone_ && sent < wire.size()) {
        platform::SocketStatus status;
        const long count = platform::sendSome(socket_, wire.data() + sent, wire.size() - sent, status);
        if (count > 0) {
            sent += std::size_t(count);
            continue;
        }
        if (status != platform::SocketStatus::WouldBlock) {
            gone_ = true;
            break;
        }
        const int left = millisecondsUntil(deadline);
        if (left <= 0 || !platform::waitWritable(socket_, left)) break;
    }
    if (sent > 0 && sent < wire.size()) gone_ = true;
    return sent == wire.size();
}

} // namespace tarvoke
