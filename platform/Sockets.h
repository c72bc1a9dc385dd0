// Platform contract, sockets: IPv4 TCP over the system's BSD sockets. Small enough that Winsock
// can back it too: handles are opaque integers, every failure is one of a few conditions, and
// the layer counts its users so that one user's shutdown does not pull it from under another.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tarvoke::platform {

using SocketHandle = std::intptr_t;          // a descriptor here, a SOCKET under Winsock
constexpr SocketHandle noSocket = -1;

enum class SocketStatus {
    Ok,
    WouldBlock,        // a non-blocking call found nothing to read, or no room to write
    PeerClosed,        // the peer closed the connection in order
    PeerReset,         // the peer disconnected or the connection was reset
    ListenerUnusable,  // the listening socket can no longer accept connections
    TimedOut,
    Failed,            // any other failure
};

struct SocketAddress {
    std::uint32_t ip = 0;    // host byte order: 127.0.0.1 is 0x7F000001
    std::uint16_t port = 0;
};

// The layer's users: the first acquire starts it, the last release ends it. Acquire is false
// when the system's socket library cannot start (the count is then unchanged).
bool acquireSockets();
void releaseSockets();
int socketUsers();

// One open socket; closed when the object goes.
class Socket {
public:
    Socket() = default;
    explicit Socket(SocketHandle handle) : handle_(handle) {}
    ~Socket() { close(); }
    Socket(Socket&& other) noexcept : handle_(other.handle_) { other.handle_ = noSocket; }
    Socket& operator=(Socket&& other) noexcept;
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;

    bool isOpen() const { return handle_ != noSocket; }
    SocketHandle handle() const { return handle_; }
    void close();

private:
    SocketHandle handle_ = noSocket;
};

// Listens on every local address at the port (0: any free port); non-blocking. Closed on failure.
Socket openListener(std::uint16_t port);
// Takes one waiting connection, non-blocking and without delay for small writes. Closed with
// WouldBlock when none waits, ListenerUnusable when the listener is broken for good.
Socket acceptConnection(const Socket& listener, SocketStatus& status);
// Connects within timeoutMs (negative: the system's own limit); the socket is left blocking,
// without delay for small writes. Closed on failure, with the reason in `status`.
Socket connectTo(const SocketAddress& address, int timeoutMs, SocketStatus& status);
void setBlocking(const Socket& socket, bool blocking);

// Sends what the system takes at once: the count sent, or -1 with the reason (WouldBlock when
// a non-blocking socket has no room). Never raises a signal when the peer has gone.
long sendSome(const Socket& socket, const void* bytes, std::size_t count, SocketStatus& status);
// Receives what has arrived: the count (> 0), or 0 with WouldBlock, PeerClosed, PeerReset or
// Failed in `status`.
long receiveSome(const Socket& socket, void* bytes, std::size_t count, SocketStatus& status);
// Waits until the socket can be read (or has failed) / written; false after timeoutMs.
bool waitReadable(const Socket& socket, int timeoutMs);
bool waitWritable(const Socket& socket, int timeoutMs);
// Waits up to timeoutMs (0: not at all) until one of the handles can be read or has failed;
// ready[i] tells which. Returns how many are ready.
int pollReadable(const std::vector<SocketHandle>& handles, std::vector<char>& ready, int timeoutMs);

// A name or dotted address (a ":port" after it is ignored) to an IPv4 address; false if none.
bool resolveAddress(const std::string& name, SocketAddress& address);
SocketAddress localAddressOf(const Socket& socket);
// This machine's IPv4 interface addresses other than loopback; loopback alone if there is none.
std::vector<SocketAddress> localAddresses();
// "a.b.c.d:port", or "a.b.c.d" when the port is 0.
std::string addressText(const SocketAddress& address);

} // namespace tarvoke::platform
