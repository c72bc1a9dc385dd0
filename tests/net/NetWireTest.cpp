// The session's bytes on the wire, checked with a peer that speaks the framing by hand: what a
// client sends, and how a host copes with peers that break the rules.
#include <gtest/gtest.h>
#include <chrono>
#include <thread>
#include "net/NetTestSupport.h"

namespace tarvoke::test {
namespace {

constexpr int wait = 3000;

std::string port(int number) { return std::to_string(number); }

TEST(NetWire, ClientWritesTheProtocolByteForByte) {
    RawListener server;
    PeerProcess client;
    client.call("checks 25");
    std::thread joining([&] { EXPECT_EQ(client.call("join 127.0.0.1 " + port(server.port())), "1"); });
    RawPeer wire = server.accept(wait);
    // The hello needs a requester: first its join (hidden, no name), then the request itself.
    EXPECT_EQ(wire.receive(4 + 169, wait), framed(message(1, 0, 0, joinPayload("", true))));
    wire.send(framed(message(2, 101, 0)));
    EXPECT_EQ(wire.receive(4 + 17, wait), framed(message(104, 0, 101)));
    wire.send(framed(message(104, 101, 0, littleEndian(1))));
    joining.join();

    std::thread creating([&] { EXPECT_EQ(client.call("create Zed"), "102"); });
    EXPECT_EQ(wire.receivePacket(wait), message(1, 0, 0, joinPayload("Zed")));
    wire.send(framed(message(2, 102, 0)));
    creating.join();
    EXPECT_EQ(client.call("send 102 0 hi"), "1");
    EXPECT_EQ(wire.receivePacket(wait), message(3, -1, 102, "hi"));

    // Only a reply of the asked type answers a request.
    std::thread counting([&] { EXPECT_EQ(client.call("count"), "7"); });
    EXPECT_EQ(wire.receivePacket(wait), message(101, 0, 101));
    wire.send(framed(message(104, 101, 0, littleEndian(1))) + framed(message(101, 101, 0, littleEndian(7))));
    counting.join();

    // A user message from the server lands in the player's queue; one from a peer's id too.
    wire.send(framed(message(3, 102, 55, "from afar")));
    EXPECT_EQ(client.call("get 102 " + port(wait)), "from afar");
    EXPECT_EQ(client.call("sender"), "55");

    // At the end every registered local player is announced as leaving.
    client.call("quit", 200);
    EXPECT_EQ(wire.receivePacket(wait), message(4, 0, 101));
    EXPECT_EQ(wire.receivePacket(wait), message(4, 0, 102));
    EXPECT_TRUE(wire.closedByPeer(wait));
}

// A raw peer joined to a running host, with a player of its own.
struct JoinedPeer {
    RawPeer wire;
    std::int32_t id = 0;
    explicit JoinedPeer(int gamePort) {
        wire.connect(gamePort);
        wire.send(framed(message(1, 0, 0, joinPayload("raw"))));
        const std::string created = wire.receivePacket(wait);
        if (created.size() == 17) id = numberAt(created, 9);
    }
};

struct BadInput {
    const char* what;
    std::string bytes;
    bool hostCloses;      // the framing is out of step for good
};

std::string withLength(std::string bytes, std::int32_t length) { return bytes.replace(5, 4, littleEndian(length)); }

TEST(NetWire, HostSurvivesPeersThatBreakTheRules) {
    const int gamePort = freePort();
    PeerProcess host, other;
    ASSERT_EQ(host.call("host " + port(gamePort)), "1");
    ASSERT_EQ(other.call("join - " + port(gamePort)), "1");
    const std::string otherId = other.call("create Otto");
    const std::string userHeader = message(3, -1, 0, "abc");
    const BadInput rows[] = {
        {"another magic", framed("XXXX" + userHeader.substr(4)), false},
        {"shorter than a header", framed("TVKW\x03"), false},
        {"length above 1024", framed(withLength(userHeader, 2000)), false},
        {"length not the bytes sent", framed(withLength(userHeader, 10)), false},
        {"length negative", framed(withLength(userHeader, -5)), false},
        {"id request without its index", framed(message(102, 0, 0, "\x01")), false},
        {"name request without its id", framed(message(103, 0, 0, "")), false},
        {"request as another connection's player", framed(message(101, 0, std::stoi(otherId))), false},
        {"leave of another connection's player", framed(message(4, 0, std::stoi(otherId))), false},
        {"packet of 16384 bytes", framed(std::string(16384, 'z')), false},
        {"header without NL", std::string("XL\x00\x05hello", 9), true},
        {"NL length over 16384", std::string("NL\x40\x01", 4) + std::string(100, 'z'), true},
    };
    for (const BadInput& row : rows) {
        JoinedPeer peer(gamePort);
        ASSERT_GT(peer.id, 0) << row.what;
        peer.wire.send(row.bytes);
        if (row.hostCloses) {
            EXPECT_TRUE(peer.wire.closedByPeer(wait)) << row.what;
        } else {
            // Still served, and nothing was answered to the bad packet.
            peer.wire.send(framed(message(104, 0, peer.id)));
            EXPECT_EQ(peer.wire.receivePacket(wait), message(104, peer.id, 0, littleEndian(1))) << row.what;
        }
        EXPECT_EQ(other.call("name " + otherId), "Otto") << row.what;
    }
    EXPECT_EQ(other.call("get " + otherId + " 200"), "") << "the bad broadcasts were all dropped";
    // A connection cut in the middle of a packet: its player goes, the others stay.
    {
        JoinedPeer peer(gamePort);
        peer.wire.send(framed(message(3, -1, peer.id, "half")).substr(0, 10));
    }
    bool gone = false;
    for (int i = 0; i < 60 && !gone; ++i) gone = other.call("count") == "1";
    EXPECT_TRUE(gone);
}

TEST(NetWire, FloodingPeerIsBounded) {
    const int gamePort = freePort();
    PeerProcess host;
    ASSERT_EQ(host.call("host " + port(gamePort)), "1");
    const std::string hostId = host.call("create Hanna");
    RawPeer wire;
    ASSERT_TRUE(wire.connect(gamePort));
    std::string joins;
    for (int i = 0; i < 70; ++i) joins += framed(message(1, 0, 0, joinPayload("flood")));
    wire.send(joins);
    int created = 0;
    std::string firstCreated;
    for (std::string packet; (packet = wire.receivePacket(1000)).size() == 17; ++created)
        if (created == 0) firstCreated = packet;
    EXPECT_EQ(created, 64) << "players one connection may register";
    EXPECT_EQ(host.call("count"), "65");

    // 1500 messages to a player that reads none: it keeps the newest 1024.
    std::string flood;
    for (int i = 0; i < 1500; ++i) flood += framed(message(3, std::stoi(hostId), 200, std::to_string(i)));
    // The hello's answer comes after the host has passed every message on.
    wire.send(flood + framed(message(104, 0, numberAt(firstCreated, 9))));
    EXPECT_EQ(wire.receivePacket(10000).size(), 21u);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(host.call("get " + hostId + " 0"), "476");
}

} // namespace
} // namespace tarvoke::test
