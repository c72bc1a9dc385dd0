// Helpers for the network tests: a session peer in its own process driven line by line, a raw
// TCP peer that speaks the packet framing by hand, and the protocol's bytes built by hand.
#pragma once
#include <cstdint>
#include <string>

namespace tarvoke::test {

// The test program net_peer in a child process: one command line in, one answer line out.
class PeerProcess {
public:
    PeerProcess();
    ~PeerProcess();  // quits politely, then kills
    PeerProcess(const PeerProcess&) = delete;
    PeerProcess& operator=(const PeerProcess&) = delete;
    std::string call(const std::string& command, int timeoutMs = 15000);  // "<no answer>" on timeout
    void kill();     // at once, as a crash would

private:
    long pid_ = -1;
    int toChild_ = -1, fromChild_ = -1;
    std::string pending_;
};

int freePort();  // a loopback port nobody listens on right now

// A TCP connection on loopback handled byte by byte.
class RawPeer {
public:
    RawPeer() = default;
    explicit RawPeer(int fd) : fd_(fd) {}
    ~RawPeer();
    RawPeer(RawPeer&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    RawPeer(const RawPeer&) = delete;
    RawPeer& operator=(const RawPeer&) = delete;

    bool connect(int port);
    bool send(const std::string& bytes);
    // Up to `count` bytes, fewer when the time runs out or the peer closes.
    std::string receive(std::size_t count, int timeoutMs);
    std::string receivePacket(int timeoutMs);  // one "NL" packet's payload; "" when none
    bool closedByPeer(int timeoutMs);           // the peer closed (or reset) within the time
    void close();
    void reset();                               // closes with a reset instead of an orderly end

private:
    int fd_ = -1;
};

// A listening socket on a free loopback port.
class RawListener {
public:
    RawListener();
    ~RawListener();
    RawListener(const RawListener&) = delete;
    RawListener& operator=(const RawListener&) = delete;
    int port() const { return port_; }
    RawPeer accept(int timeoutMs);

private:
    int fd_ = -1;
    int port_ = 0;
};

std::string framed(const std::string& payload);  // "NL", big-endian length, payload
std::string littleEndian(std::int32_t value);
std::int32_t numberAt(const std::string& bytes, std::size_t offset);  // little-endian; 0 past the end
// The 17-byte header ("TVKW", type, length, to, from) and the payload.
std::string message(int type, std::int32_t to, std::int32_t from, const std::string& payload = "");
std::string joinPayload(const std::string& name, bool hidden = false);  // 152 bytes

} // namespace tarvoke::test
