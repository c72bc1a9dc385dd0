// The session's handling of what the network thread reads: the input is a run of records
// (source, 16-bit length, packet bytes), source 0 being the client connection (the server
// speaking) and 1..4 the host's accepted connections (peers). Whatever arrives, peers cannot
// answer this program's requests or give its players ids, the server part answers only in
// well-formed messages to connections it heard from, and nothing kept grows past its bounds.
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarvoke;
    NetSession session;  // no sockets, no thread
    for (int id : {101, 102, idJoinSent}) {
        session.localPlayers.emplace_back();
        session.localPlayers.back().id = id;
    }
    std::set<int> sources;
    for (std::size_t at = 0; at + 3 <= size;) {
        const int source = data[at] % 5 - 1;
        const std::size_t length = std::min<std::size_t>(std::size_t(data[at + 1]) | std::size_t(data[at + 2]) << 8, size - at - 3);
        Incoming in;
        in.connection = source;
        const bool valid = readMessage(data + at + 3, length, in.message);
        at += 3 + length;
        if (!valid) continue;
        check(in.message.wireSize() == length, "an accepted packet is exactly one message");
        if (source >= 0) sources.insert(source);
        const std::size_t replies = session.replies.size();
        const int waitingId = session.localPlayers.back().id;
        for (const Outgoing& o : handleIncoming(session, {in})) {
            check(sources.count(o.connection) == 1, "answers go to connections that spoke");
            NetMessage copy;
            check(readMessage(o.message.bytes.data(), o.message.wireSize(), copy), "answers are well-formed messages");
        }
        if (source >= 0)
            check(session.replies.size() == replies && session.localPlayers.back().id == waitingId,
                  "peers can neither answer this program's requests nor give its players ids");
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
