// httpGet against a small server run by the test on loopback.
#include <gtest/gtest.h>
#include <chrono>
#include <thread>
#include <vector>
#include "net/HttpHeader.h"
#include "net/Net.h"
#include "net/NetTestSupport.h"
#include "platform/Sockets.h"
#include "support/TestSupport.h"
#include "tarvoke/net.h"

namespace tarvoke::test {
namespace {

enum class Ending { Close, Reset, Silent };

struct Exchange {
    const char* what;
    const char* path;
    std::vector<std::string> chunks;  // sent 20 ms apart
    Ending ending;
    NumValue result;
    std::string stored;
};

std::string expectedRequest(const std::string& path) {
    return "GET " + path + " HTTP/1.0\r\nHost:127.0.0.1\r\nAccept: */*\r\nUser-Agent: Tarvoke game\r\n\r\n";
}

// Serves one connection; returns the request it read.
std::string serve(RawListener& listener, const std::vector<std::string>& chunks, Ending ending) {
    RawPeer client = listener.accept(5000);
    std::string request;
    while (request.size() < 4096 && request.find("\r\n\r\n") == std::string::npos) {
        const std::string byte = client.receive(1, 2000);
        if (byte.empty()) break;
        request += byte;
    }
    for (const std::string& chunk : chunks) {
        client.send(chunk);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (ending == Ending::Reset) client.reset();
    if (ending == Ending::Silent) client.closedByPeer(5000);
    return request;
}

TEST(HttpGet, StoresTheBodyAfterTheHeader) {
    const Exchange rows[] = {
        {"CR LF header, body in the same chunk", "/a/file.bin", {"HTTP/1.0 200 OK\r\nServer: t\r\n\r\nbody\r\n\r\nstays"},
         Ending::Close, 1, "body\r\n\r\nstays"},
        {"bare LF LF ends the header", "/x", {"HTTP/1.0 200 OK\nA: b\n\nline1\nline2\n"}, Ending::Close, 1, "line1\nline2\n"},
        {"header's end split over chunks", "/x", {"HTTP/1.0 200 OK\r\n", "\r", "\nBODY", "MORE"}, Ending::Close, 1, "BODYMORE"},
        {"a byte between line ends starts over", "/x", {"HTTP/1.0 200 OK\n \nX: y\n\r\nrest"}, Ending::Close, 1, "rest"},
        {"empty path", "", {"HTTP/1.0 404 Not Found\r\n\r\nerror page"}, Ending::Close, 1, "error page"},
        {"server closes before the header ends", "/x", {"HTTP/1.0 200 OK\r\nA: b\r\n"}, Ending::Close, 1, ""},
        {"connection reset", "/x", {"HTTP/1.0 200 OK\r\n\r\npartial"}, Ending::Reset, 0, "partial"},
        {"server never answers", "/x", {}, Ending::Silent, 0, ""},
    };
    ScopedTempDir temp;
    setHttpTimeout(400);
    for (const Exchange& row : rows) {
        RawListener listener;
        writeFile(temp.file("out.bin"), "stale bytes from before");
        std::string request;
        std::thread server([&] { request = serve(listener, row.chunks, row.ending); });
        const NumValue result = httpGet("127.0.0.1", row.path, listener.port(), temp.file("out.bin").c_str());
        server.join();
        EXPECT_EQ(result, row.result) << row.what;
        EXPECT_EQ(request, expectedRequest(row.path)) << row.what;
        EXPECT_EQ(readFile(temp.file("out.bin")), row.stored) << row.what;
    }
    setHttpTimeout(defaultHttpTimeoutMs);
}

TEST(HttpGet, FailsWithoutServerOrOutputFile) {
    ScopedTempDir temp;
    EXPECT_EQ(httpGet("127.0.0.1", "/", freePort(), temp.file("out.bin").c_str()), 0) << "nobody listens";
    RawListener listener;
    std::string request = "unset";
    std::thread server([&] { request = serve(listener, {"HTTP/1.0 200 OK\r\n\r\nbody"}, Ending::Close); });
    EXPECT_EQ(httpGet("127.0.0.1", "/", listener.port(), temp.file("no/such/folder/out.bin").c_str()), 0);
    server.join();
    EXPECT_EQ(request, "") << "nothing is asked for when the body has nowhere to go";
}

TEST(HttpGet, LeavesARunningGameSessionAlone) {
    startNet();
    const int users = platform::socketUsers();
    ASSERT_EQ(netHostGame(std::to_string(freePort()).c_str()), 1);
    const StrValue me = netCreatePlayer("downloader");
    ScopedTempDir temp;
    RawListener listener;
    std::thread server([&] { serve(listener, {"HTTP/1.0 200 OK\r\n\r\nbody"}, Ending::Close); });
    EXPECT_EQ(httpGet("127.0.0.1", "/", listener.port(), temp.file("out.bin").c_str()), 1);
    server.join();
    EXPECT_EQ(platform::socketUsers(), users);
    EXPECT_EQ(netSendMessage(me, me, "still here"), 1);
    StrValue received;
    for (int i = 0; i < 200 && received.length() == 0; ++i, std::this_thread::sleep_for(std::chrono::milliseconds(10)))
        received = netGetMessage(me);
    EXPECT_STREQ(received.cStr(), "still here");
    stopNet();
    EXPECT_EQ(platform::socketUsers(), users - 1) << "the session's own use ends with it";
}

} // namespace
} // namespace tarvoke::test
