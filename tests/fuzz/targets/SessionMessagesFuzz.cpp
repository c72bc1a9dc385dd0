// The session's handling of packets from the network: the input is a run of records (source,
// 16-bit length, packet bytes), source 0 being the server seen from a client and 1..4 the
// host's accepted connections. Whatever arrives, the host answers only in well-formed messages,
// to connections it has heard from, and nothing it keeps grows past its bounds.
#include <cstdio>
#include <cstdlib>
#include <set>
#include "net/NetSession.h"

namespace {

void check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "check failed: %s\n", what);
    std::abort();
}

void addLocalPlayer(tarvoke::NetSession& session, int id) {
    tarvoke::NetPlayer player;
    player.id = id;
    session.localPlayers.push_back(player);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarvoke;
    NetSession session;  // no sockets, no thread
    addLocalPlayer(session, 101);
    addLocalPlayer(session, 102);
    addLocalPlayer(session, idJoinSent);
    std::set<int> sources;
    for (std::size_t at = 0; at + 3 <= size;) {
        const int source = data[at] % 5;
        const std::size_t length = std::min<std::size_t>(std::size_t(data[at + 1]) | std::size_t(data[at + 2]) << 8, size - at - 3);
        const std::uint8_t* packet = data + at + 3;
        at += 3 + length;
        NetMessage message;
        if (!readMessage(packet, length, message)) continue;
        check(message.wireSize() == length, "an accepted packet is exactly one message");
        std::vector<Outgoing> out;
        {
            std::lock_guard<std::mutex> hold(session.lock);
            if (deliverLocally(session, message)) continue;
            if (source == 0) takeServerMessage(session, message);
        }
        if (source == 0) continue;
        sources.insert(source);
        session.server.serve(message, source, out);
        for (const Outgoing& o : out) {
            check(sources.count(o.connection) == 1, "answers go to connections that spoke");
            NetMessage copy;
            check(readMessage(o.message.bytes.data(), o.message.wireSize(), copy), "answers are well-formed messages");
        }
    }
    for (const NetPlayer& player : session.localPlayers)
        check(player.messages.size() <= maxQueuedMessages, "a player's queue stays bounded");
    check(session.replies.size() <= maxQueuedReplies, "the reply queue stays bounded");
    for (int source : sources) {
        std::size_t players = 0;
        for (const NetPlayer& player : session.server.players) {
            players += player.socket == source;
            check(player.name.size() <= playerNameSize, "names are at most 127 bytes");
        }
        check(players <= maxPlayersPerConnection, "players per connection stay bounded");
    }
    return 0;
}
