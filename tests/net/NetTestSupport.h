// Helpers for the network tests: a session peer in its own process driven line by line, a raw
// TCP peer whose bytes the test writes and reads by hand, and the protocol's bytes built by hand.
#pragma once
#include <cstdint>
#include <string>
#include "platform/Sockets.h"

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

int freePort();  // a port nobody listens on right now

// A TCP connection on loopback handled byte by byte.
struct RawPeer {
    platform::Socket socket;

    bool connect(int port);
    bool send(const std::string& bytes) const;
    // Up to `count` bytes, fewer when the time runs out or the peer closes.
    std::string receive(std::size_t count, int timeoutMs) const;
    std::string receivePacket(int timeoutMs) const;  // one "NL" packet's payload; "" when none
    bool closedByPeer(int timeoutMs) const;           // the peer closed (or reset) within the time
    void reset();                                     // closes with a reset, not an orderly end
};

// A listening socket on a free port.
struct RawListener {
    platform::Socket socket = platform::openListener(0);
    int port() const { return platform::localAddressOf(socket).port; }
    RawPeer accept(int timeoutMs) const;
};

std::string framed(const std::string& payload);  // "NL", big-endian length, payload
std::string littleEndian(std::int32_t value);
std::int32_t numberAt(const std::string& bytes, std::size_t offset);  // little-endian; 0 past the end
// The 17-byte header ("TVKW", type, length, to, from) and the payload.
std::string message(int type, std::int32_t to, std::int32_t from, const std::string& payload = "");
std::string joinPayload(const std::string& name, bool hidden = false);  // 152 bytes

} // namespace tarvoke::test
