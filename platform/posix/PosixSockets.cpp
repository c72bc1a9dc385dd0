// IPv4 TCP sockets on POSIX.
#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <atomic>
#include <cstdio>
#include "platform/Sockets.h"

namespace tarvoke::platform {
namespace {

std::atomic<int> users{0};

int fd(const Socket& socket) { return int(socket.handle()); }

sockaddr_in toSockaddr(const SocketAddress& address) {
    sockaddr_in out{};
    out.sin_family = AF_INET;
    out.sin_addr.s_addr = htonl(address.ip);
    out.sin_port = htons(address.port);
    return out;
}

SocketAddress fromSockaddr(const sockaddr_in& in) { return {ntohl(in.sin_addr.s_addr), ntohs(in.sin_port)}; }

void setNoDelay(int descriptor) {
    int on = 1;
    setsockopt(descriptor, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

void setNonBlockingFd(int descriptor, bool nonBlocking) {
    const int flags = fcntl(descriptor, F_GETFL, 0);
    if (flags >= 0) fcntl(descriptor, F_SETFL, nonBlocking ? flags | O_NONBLOCK : flags & ~O_NONBLOCK);
}

SocketStatus statusOf(int error) {
    switch (error) {
    case EAGAIN:
#if EAGAIN != EWOULDBLOCK
    case EWOULDBLOCK:
#endif
    case EINPROGRESS: return SocketStatus::WouldBlock;
    case ECONNRESET:
    case EPIPE:
    case ENOTCONN:
    case ECONNABORTED:
    case ETIMEDOUT:
    case EHOSTUNREACH:
    case ENETUNREACH:
    case ECONNREFUSED: return SocketStatus::PeerReset;
    default: return SocketStatus::Failed;
    }
}

bool waitFor(int descriptor, short events, int timeoutMs) {
    pollfd entry{descriptor, events, 0};
    for (;;) {
        const int result = poll(&entry, 1, timeoutMs);
        if (result > 0) return true;
        if (result == 0 || errno != EINTR) return false;
    }
}

} // namespace

bool acquireSockets() {
    ++users;  // POSIX sockets need no start; Winsock would call WSAStartup for the first user
    return true;
}

void releaseSockets() {
    int current = users.load();
    while (current > 0 && !users.compare_exchange_weak(current, current - 1)) {
    }
}

int socketUsers() { return users.load(); }

Socket& Socket::operator=(Socket&& other) noexcept {
    if (this != &other) {
        close();
        handle_ = other.handle_;
        other.handle_ = noSocket;
    }
    return *this;
}

void Socket::close() {
    if (handle_ == noSocket) return;
    ::close(int(handle_));
    handle_ = noSocket;
}

Socket openListener(std::uint16_t port) {
    Socket socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (fd(socket) < 0) return Socket();
    int on = 1;
    setsockopt(fd(socket), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    const sockaddr_in address = toSockaddr({INADDR_ANY, port});
    if (bind(fd(socket), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        listen(fd(socket), SOMAXCONN) != 0)
        return Socket();
    setNonBlockingFd(fd(socket), true);
    return socket;
}

Socket acceptConnection(const Socket& listener, SocketStatus& status) {
    const int accepted = accept4(fd(listener), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (accepted >= 0) {
        setNoDelay(accepted);
        status = SocketStatus::Ok;
        return Socket(accepted);
    }
    switch (errno) {
    case EBADF:
    case EINVAL:
    case ENOTSOCK:
    case EOPNOTSUPP: status = SocketStatus::ListenerUnusable; break;
    case EAGAIN:
#if EAGAIN != EWOULDBLOCK
    case EWOULDBLOCK:
#endif
    case EINTR:
    case ECONNABORTED:
    case EPROTO: status = SocketStatus::WouldBlock; break;
    default: status = SocketStatus::Failed; break;  // out of descriptors or memory: try later
    }
    return Socket();
}

Socket connectTo(const SocketAddress& address, int timeoutMs, SocketStatus& status) {
    Socket socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (fd(socket) < 0) {
        status = SocketStatus::Failed;
        return Socket();
    }
    const sockaddr_in target = toSockaddr(address);
    int error = 0;
    if (connect(fd(socket), reinterpret_cast<const sockaddr*>(&target), sizeof target) != 0) {
        if (errno != EINPROGRESS) {
            status = statusOf(errno);
            if (status == SocketStatus::WouldBlock) status = SocketStatus::Failed;
            return Socket();
        }
        if (!waitFor(fd(socket), POLLOUT, timeoutMs)) {
            status = SocketStatus::TimedOut;
            return Socket();
        }
        socklen_t size = sizeof error;
        getsockopt(fd(socket), SOL_SOCKET, SO_ERROR, &error, &size);
    }
    if (error != 0) {
        status = statusOf(error);
        return Socket();
    }
    setNonBlockingFd(fd(socket), false);
    setNoDelay(fd(socket));
    status = SocketStatus::Ok;
    return socket;
}

void setBlocking(const Socket& socket, bool blocking) { setNonBlockingFd(fd(socket), !blocking); }

long sendSome(const Socket& socket, const void* bytes, std::size_t count, SocketStatus& status) {
    for (;;) {
        const ssize_t sent = send(fd(socket), bytes, count, MSG_NOSIGNAL);
        if (sent >= 0) {
            status = SocketStatus::Ok;
            return long(sent);
        }
        if (errno == EINTR) continue;
        status = statusOf(errno);
        return -1;
    }
}

long receiveSome(const Socket& socket, void* bytes, std::size_t count, SocketStatus& status) {
    for (;;) {
        const ssize_t received = recv(fd(socket), bytes, count, 0);
        if (received > 0) {
            status = SocketStatus::Ok;
            return long(received);
        }
        if (received == 0) {
            status = count == 0 ? SocketStatus::Ok : SocketStatus::PeerClosed;
            return 0;
        }
        if (errno == EINTR) continue;
        status = statusOf(errno);
        return 0;
    }
}

bool waitReadable(const Socket& socket, int timeoutMs) { return waitFor(fd(socket), POLLIN, timeoutMs); }

bool waitWritable(const Socket& socket, int timeoutMs) { return waitFor(fd(socket), POLLOUT, timeoutMs); }

int pollReadable(const std::vector<SocketHandle>& handles, std::vector<char>& ready, int timeoutMs) {
    std::vector<pollfd> entries(handles.size());
    for (std::size_t i = 0; i < handles.size(); ++i) entries[i] = {int(handles[i]), POLLIN, 0};
    ready.assign(handles.size(), 0);
    int result = 0;
    do {
        result = poll(entries.data(), entries.size(), timeoutMs);
    } while (result < 0 && errno == EINTR);
    if (result <= 0) return 0;
    int count = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        // A hung-up or failed socket counts as readable: its read reports why.
        ready[i] = (entries[i].revents & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) != 0;
        count += ready[i];
    }
    return count;
}

bool resolveAddress(const std::string& name, SocketAddress& address) {
    const std::string host = name.substr(0, name.find(':'));
    if (host.empty()) return false;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) return false;
    address = fromSockaddr(*reinterpret_cast<const sockaddr_in*>(found->ai_addr));
    freeaddrinfo(found);
    return true;
}

SocketAddress localAddressOf(const Socket& socket) {
    sockaddr_in address{};
    socklen_t size = sizeof address;
    if (getsockname(fd(socket), reinterpret_cast<sockaddr*>(&address), &size) != 0) return {};
    return fromSockaddr(address);
}

std::vector<SocketAddress> localAddresses() {
    std::vector<SocketAddress> found;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) == 0) {
        for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
            if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET) continue;
            if (!(entry->ifa_flags & IFF_UP) || (entry->ifa_flags & IFF_LOOPBACK)) continue;
            SocketAddress address = fromSockaddr(*reinterpret_cast<const sockaddr_in*>(entry->ifa_addr));
            address.port = 0;
            found.push_back(address);
        }
        freeifaddrs(list);
    }
    if (found.empty()) found.push_back({INADDR_LOOPBACK, 0});
    return found;
}

std::string addressText(const SocketAddress& address) {
    char text[32];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", address.ip >> 24, (address.ip >> 16) & 0xFF,
                  (address.ip >> 8) & 0xFF, address.ip & 0xFF);
    std::string out = text;
    if (address.port != 0) out += ":" + std::to_string(address.port);
    return out;
}

} // namespace tarvoke::platform
