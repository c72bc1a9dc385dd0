#include "net/NetTestSupport.h"
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <cstring>

namespace tarvoke::test {
namespace {

sockaddr_in loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(std::uint16_t(port));
    return address;
}

bool readable(int fd, int timeoutMs) {
    pollfd entry{fd, POLLIN, 0};
    return poll(&entry, 1, timeoutMs) > 0;
}

int remainingMs(std::chrono::steady_clock::time_point deadline) {
    const auto left = deadline - std::chrono::steady_clock::now();
    return std::max(0, int(std::chrono::duration_cast<std::chrono::milliseconds>(left).count()));
}

} // namespace

PeerProcess::PeerProcess() {
    int down[2], up[2];
    if (pipe(down) != 0 || pipe(up) != 0) return;
    const pid_t child = fork();
    if (child == 0) {
        dup2(down[0], 0);
        dup2(up[1], 1);
        for (int fd : {down[0], down[1], up[0], up[1]}) ::close(fd);
        execl(TARVOKE_NET_PEER, "net_peer", static_cast<char*>(nullptr));
        _exit(127);
    }
    ::close(down[0]);
    ::close(up[1]);
    pid_ = child;
    toChild_ = down[1];
    fromChild_ = up[0];
    signal(SIGPIPE, SIG_IGN);
}

PeerProcess::~PeerProcess() {
    if (pid_ > 0) {
        const std::string quit = "quit\n";
        if (write(toChild_, quit.data(), quit.size()) > 0) {
            for (int i = 0; i < 300 && waitpid(pid_t(pid_), nullptr, WNOHANG) == 0; ++i) usleep(10000);
        }
        kill();
    }
    ::close(toChild_);
    ::close(fromChild_);
}

void PeerProcess::kill() {
    if (pid_ <= 0) return;
    ::kill(pid_t(pid_), SIGKILL);
    waitpid(pid_t(pid_), nullptr, 0);
    pid_ = -1;
}

std::string PeerProcess::call(const std::string& command, int timeoutMs) {
    const std::string line = command + "\n";
    if (write(toChild_, line.data(), line.size()) != ssize_t(line.size())) return "<no answer>";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const std::size_t end = pending_.find('\n');
        if (end != std::string::npos) {
            std::string answer = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            return answer;
        }
        char buffer[4096];
        if (!readable(fromChild_, remainingMs(deadline))) return "<no answer>";
        const ssize_t count = read(fromChild_, buffer, sizeof buffer);
        if (count <= 0) return "<no answer>";
        pending_.append(buffer, std::size_t(count));
    }
}

int freePort() {
    RawListener listener;
    return listener.port();
}

RawPeer::~RawPeer() { close(); }

void RawPeer::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

void RawPeer::reset() {
    const linger abort{1, 0};
    setsockopt(fd_, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
    close();
}

bool RawPeer::connect(int port) {
    close();
    fd_ = socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in address = loopback(port);
    return fd_ >= 0 && ::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

bool RawPeer::send(const std::string& bytes) {
    return ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) == ssize_t(bytes.size());
}

std::string RawPeer::receive(std::size_t count, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::string bytes;
    while (bytes.size() < count && readable(fd_, remainingMs(deadline))) {
        char buffer[4096];
        const ssize_t got = recv(fd_, buffer, std::min(sizeof buffer, count - bytes.size()), 0);
        if (got <= 0) break;
        bytes.append(buffer, std::size_t(got));
    }
    return bytes;
}

std::string RawPeer::receivePacket(int timeoutMs) {
    const std::string header = receive(4, timeoutMs);
    if (header.size() < 4 || header[0] != 'N' || header[1] != 'L') return "";
    const std::size_t size = std::size_t(std::uint8_t(header[2])) << 8 | std::uint8_t(header[3]);
    return receive(size, timeoutMs);
}

bool RawPeer::closedByPeer(int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    char buffer[4096];
    while (readable(fd_, remainingMs(deadline))) {
        if (recv(fd_, buffer, sizeof buffer, 0) <= 0) return true;
    }
    return false;
}

RawListener::RawListener() {
    fd_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = loopback(0);
    socklen_t size = sizeof address;
    if (bind(fd_, reinterpret_cast<sockaddr*>(&address), size) != 0 || listen(fd_, 16) != 0) return;
    getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
}

RawListener::~RawListener() { ::close(fd_); }

RawPeer RawListener::accept(int timeoutMs) {
    if (!readable(fd_, timeoutMs)) return RawPeer();
    return RawPeer(::accept(fd_, nullptr, nullptr));
}

std::string framed(const std::string& payload) {
    std::string header = "NL";
    header += char(payload.size() >> 8);
    header += char(payload.size() & 0xFF);
    return header + payload;
}

std::string littleEndian(std::int32_t value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[std::size_t(i)] = char(std::uint32_t(value) >> (8 * i));
    return bytes;
}

std::int32_t numberAt(const std::string& bytes, std::size_t offset) {
    if (offset + 4 > bytes.size()) return 0;
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | std::uint8_t(bytes[offset + std::size_t(i)]);
    return std::int32_t(value);
}

std::string message(int type, std::int32_t to, std::int32_t from, const std::string& payload) {
    return "TVKW" + std::string(1, char(type)) + littleEndian(std::int32_t(payload.size())) + littleEndian(to) +
           littleEndian(from) + payload;
}

std::string joinPayload(const std::string& name, bool hidden) {
    std::string payload = littleEndian(-1) + littleEndian(-1) + char(hidden) + '\0';
    payload += name.substr(0, 127) + std::string(127 - std::min<std::size_t>(name.size(), 127), '\0');
    return payload + std::string(15, '\0');
}

} // namespace tarvoke::test
