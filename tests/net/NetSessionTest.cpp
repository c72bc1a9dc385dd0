// A host and two joining programs, each its own process on loopback, driven command by command.
#include <gtest/gtest.h>
#include <chrono>
#include <memory>
#include <thread>
#include "net/NetTestSupport.h"

namespace tarvoke::test {
namespace {

enum Peer { H, A, B };  // the host, two joining programs

struct Step {
    Peer peer;
    const char* command;  // "{port}" stands for the game's port; "kill" ends the peer at once
    std::string expected;
    bool eventually = false;  // asked again for up to 3 s until the answer comes
};

std::string withPort(std::string command, int port) {
    const std::size_t at = command.find("{port}");
    if (at != std::string::npos) command.replace(at, 6, std::to_string(port));
    return command;
}

TEST(NetSession, HostAndTwoClientsExchangePlayersAndMessages) {
    const std::string kilobyte(1024, 'x');
    const Step steps[] = {
        {H, "checks 50", "ok"}, {A, "checks 50", "ok"}, {B, "checks 50", "ok"},
        {H, "create Solo", "-1"}, {H, "count", "0"}, {H, "send 101 0 x", "0"},  // no session yet
        {A, "join - {port}", "0"},            // nobody listens yet
        {H, "host {port}", "1"},
        {H, "create Hanna", "101"},
        {A, "join - {port}", "1"},            // "" is this machine; the hello makes A's requester 102
        {A, "create Anna", "103"},
        {B, "join 127.0.0.1 {port}", "1"},    // B's requester: 104
        {B, "create Bert", "105"},
        {H, "count", "3"},                    // the three hidden requesters are not counted
        {A, "id 0", "101"}, {A, "id 1", "103"}, {A, "id 2", "105"}, {A, "id 3", "0"},
        {B, "name 103", "Anna"},
        {B, "name 102", "NO_DATA"},           // a requester has no name: no answer
        {B, "name 999", "NO_DATA"},
        {A, "send 103 0 hello everyone", "1"},  // to 0: everyone but the sender
        {H, "get 101 3000", "hello everyone"}, {H, "sender", "103"},
        {B, "get 105 3000", "hello everyone"}, {B, "sender", "103"},
        {A, "get 103 300", ""},               // not echoed to its sender
        {B, "sendn 105 103 1024", "1"}, {A, "get 103 3000", kilobyte},
        {B, "sendn 105 103 1500", "1"}, {A, "get 103 3000", kilobyte},  // cut at 1024 bytes
        {H, "send 101 105 only for Bert", "1"}, {B, "get 105 3000", "only for Bert"},
        {A, "get 103 300", ""},
        {A, "destroy 103", "1"}, {H, "count", "2", true},
        {B, "kill", ""}, {H, "count", "1", true},   // a client that disconnects is removed
        {H, "id 0", "101"}, {H, "id 1", "0"},
    };
    const int port = freePort();
    std::unique_ptr<PeerProcess> peers[3];
    for (auto& peer : peers) peer = std::make_unique<PeerProcess>();
    for (const Step& step : steps) {
        const std::string command = withPort(step.command, port);
        if (command == "kill") {
            peers[step.peer]->kill();
            continue;
        }
        std::string answer = peers[step.peer]->call(command);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        while (step.eventually && answer != step.expected && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            answer = peers[step.peer]->call(command);
        }
        ASSERT_EQ(answer, step.expected) << "peer " << "HAB"[step.peer] << ": " << command;
    }
}

} // namespace
} // namespace tarvoke::test
