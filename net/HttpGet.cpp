// httpGet: an HTTP/1.0 GET on a blocking TCP stream; the response body, from the first byte
// after the header, goes to a file. Success is the server closing the connection at the end.
#include <cstdio>
#include <memory>
#include <string>
#include "net/HttpHeader.h"
#include "platform/Files.h"
#include "platform/Sockets.h"
#include "tarvoke/net.h"

namespace tarvoke {
namespace {

int httpTimeoutMs = defaultHttpTimeoutMs;
constexpr std::size_t chunkSize = 4095;

// One user of the socket layer for the download's length, whatever else uses it meanwhile.
struct SocketLayerUse {
    bool started = platform::acquireSockets();
    ~SocketLayerUse() {
        if (started) platform::releaseSockets();
    }
};

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using OutputFile = std::unique_ptr<std::FILE, FileCloser>;

std::string requestText(const StrValue& path, const StrValue& server) {
    return std::string("GET ") + path.cStr() + " HTTP/1.0\r\nHost:" + server.cStr() +
           "\r\nAccept: */*\r\nUser-Agent: Tarvoke game\r\n\r\n";
}

bool sendAll(const platform::Socket& socket, const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        if (!platform::waitWritable(socket, httpTimeoutMs)) return false;
        platform::SocketStatus status;
        const long count = platform::sendSome(socket, bytes.data() + sent, bytes.size() - sent, status);
        if (count < 0) return false;
        sent += std::size_t(count);
    }
    return true;
}

bool store(std::FILE* file, const std::uint8_t* bytes, std::size_t count) {
    return count == 0 || std::fwrite(bytes, 1, count, file) == count;
}

// Reads until the server closes: 1 then, 0 on any other end (reset, silence, a full disk).
NumValue receiveBody(const platform::Socket& socket, std::FILE* file) {
    HttpHeaderScanner header;
    std::uint8_t chunk[chunkSize];
    for (;;) {
        if (!platform::waitReadable(socket, httpTimeoutMs)) return 0;
        platform::SocketStatus status;
        const long count = platform::receiveSome(socket, chunk, sizeof chunk, status);
        if (count <= 0) {
            if (status == platform::SocketStatus::WouldBlock) continue;
            return status == platform::SocketStatus::PeerClosed ? 1 : 0;
        }
        std::size_t bodyStart = 0;
        if (!header.ended() && !header.scan(chunk, std::size_t(count), bodyStart)) continue;
        if (!store(file, chunk + bodyStart, std::size_t(count) - bodyStart)) return 0;
    }
}

} // namespace

void setHttpTimeout(int milliseconds) { httpTimeoutMs = milliseconds; }

NumValue httpGet(const StrValue& server, const StrValue& path, NumValue port, const StrValue& file) {
    SocketLayerUse sockets;
    if (!sockets.started) return 0;
    platform::SocketAddress address;
    if (!platform::resolveAddress(server.cStr(), address)) return 0;
    address.port = std::uint16_t(toInt(port));
    platform::SocketStatus status;
    platform::Socket socket = platform::connectTo(address, httpTimeoutMs, status);
    if (!socket.isOpen()) return 0;

    const std::string outputPath = platform::nativePath(file.cStr());
    platform::deleteFile(outputPath);
    OutputFile output(std::fopen(outputPath.c_str(), "w+b"));
    if (!output) return 0;  // nowhere to store the body: no download
    if (!sendAll(socket, requestText(path, server))) return 0;
    return receiveBody(socket, output.get());
}

} // namespace tarvoke
