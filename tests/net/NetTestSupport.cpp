#include "net/NetTestSupport.h"
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>

namespace tarvoke::test {
namespace {

int remainingMs(std::chrono::steady_clock::time_point deadline) {
    const auto left = deadline - std::chrono::steady_clock::now();
    return std::max(0, int(std::chrono::duration_cast<std::chrono::milliseconds>(left).count()));
}

std::chrono::steady_clock::time_point after(int ms) { return std::chrono::steady_clock::now() + std::chrono::milliseconds(ms); }

} // namespace

PeerProcess::PeerProcess() {
    int down[2], up[2];
    if (pipe(down) != 0 || pipe(up) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
        dup2(down[0], 0);
        dup2(up[1], 1);
        execl(TARVOKE_NET_PEER, "net_peer", static_cast<char*>(nullptr));
        _exit(127);
    }
    ::close(down[0]);
    ::close(up[1]);
    toChild_ = down[1];
    fromChild_ = up[0];
    signal(SIGPIPE, SIG_IGN);
}

PeerProcess::~PeerProcess() {
    if (pid_ > 0 && write(toChild_, "quit\n", 5) == 5)
        for (int i = 0; i < 300 && waitpid(pid_t(pid_), nullptr, WNOHANG) == 0; ++i) usleep(10000);
    kill();
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
    const auto deadline = after(timeoutMs);
    std::size_t end;
    while ((end = pending_.find('\n')) == std::string::npos) {
        char buffer[4096];
        pollfd answers{fromChild_, POLLIN, 0};
        const ssize_t count = poll(&answers, 1, remainingMs(deadline)) > 0 ? read(fromChild_, buffer, sizeof buffer) : 0;
        if (count <= 0) return "<no answer>";
        pending_.append(buffer, std::size_t(count));
    }
    std::string answer = pending_.substr(0, end);
    pending_.erase(0, end + 1);
    return answer;
}

int freePort() { return RawListener().port(); }

bool RawPeer::connect(int port) {
    platform::SocketStatus status;
    socket = platform::connectTo({0x7F000001, std::uint16_t(port)}, 2000, status);
    return socket.isOpen();
}

bool RawPeer::send(const std::string& bytes) const {
    platform::SocketStatus status;
    return platform::sendSome(socket, bytes.data(), bytes.size(), status) == long(bytes.size());
}

std::string RawPeer::receive(std::size_t count, int timeoutMs) const {
    const auto deadline = after(timeoutMs);
    std::string bytes;
    char buffer[4096];
    platform::SocketStatus status;
    while (bytes.size() < count && platform::waitReadable(socket, remainingMs(deadline))) {
        const long got = platform::receiveSome(socket, buffer, std::min(sizeof buffer, count - bytes.size()), status);
        if (got <= 0) break;
        bytes.append(buffer, std::size_t(got));
    }
    return bytes;
}

std::string RawPeer::receivePacket(int timeoutMs) const {
    const std::string header = receive(4, timeoutMs);
    if (header.size() < 4 || header.compare(0, 2, "NL") != 0) return "";
    return receive(std::size_t(std::uint8_t(header[2])) << 8 | std::uint8_t(header[3]), timeoutMs);
}

bool RawPeer::closedByPeer(int timeoutMs) const {
    const auto deadline = after(timeoutMs);
    char buffer[4096];
    platform::SocketStatus status;
    while (platform::waitReadable(socket, remainingMs(deadline)))
        if (platform::receiveSome(socket, buffer, sizeof buffer, status) <= 0) return true;
    return false;
}

void RawPeer::reset() {
    const linger abort{1, 0};
    setsockopt(int(socket.handle()), SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
    socket.close();
}

RawPeer RawListener::accept(int timeoutMs) const {
    RawPeer peer;
    platform::SocketStatus status;
    if (platform::waitReadable(socket, timeoutMs)) peer.socket = platform::acceptConnection(socket, status);
    platform::setBlocking(peer.socket, true);
    return peer;
}

std::string framed(const std::string& payload) {
    return "NL" + std::string(1, char(payload.size() >> 8)) + char(payload.size() & 0xFF) + payload;
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
    const std::string kept = name.substr(0, 127);
    return littleEndian(-1) + littleEndian(-1) + char(hidden) + '\0' + kept + std::string(127 - kept.size() + 15, '\0');
}

} // namespace tarvoke::test
