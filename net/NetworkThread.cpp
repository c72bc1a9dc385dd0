// The network thread: each pass sends the joins of new local players, reads what arrived on the
// client connection and (on the host) on the accepted connections, delivers user messages to
// local players, lets the server part answer the rest and takes the server's replies.
#include <algorithm>
#include "net/NetSession.h"

namespace tarvoke {
namespace {

constexpr int maxReadyPerPass = 100;   // connections read from in one pass
constexpr int passIntervalMs = 10;      // the longest wait between passes

void sendJoins(NetSession& session) {
    std::vector<NetMessage> joins;
    {
        std::lock_guard<std::mutex> hold(session.lock);
        session.localPlayers.remove_if([](const NetPlayer& p) { return p.id == idAbandoned; });
        for (NetPlayer& player : session.localPlayers) {
            if (player.id != idNew) continue;
            joins.push_back(joinMessageFor(player.hidden, player.createdOnHost, player.name));
            player.id = idJoinSent;
        }
    }
    for (const NetMessage& join : joins) writeMessage(*session.clientSocket, join);
}

void readClient(NetSession& session, std::vector<Incoming>& incoming) {
    std::vector<std::uint8_t> packet;
    for (std::size_t count = 0; count < maxClientReadsPerPass; ++count) {
        if (session.clientSocket->read(packet) != PacketConnection::Read::Packet) return;
        Incoming in;
        if (!readMessage(packet.data(), packet.size(), in.message)) return;
        incoming.push_back(in);
    }
}

// Takes one waiting connection. False when the listener is broken for good.
bool acceptWaiting(NetSession& session) {
    platform::SocketStatus status;
    platform::Socket accepted = platform::acceptConnection(session.serverSocket, status);
    if (status == platform::SocketStatus::ListenerUnusable) return false;
    if (!accepted.isOpen() || session.connections.size() >= maxConnections) return true;
    session.connections.push_back({session.nextConnectionId++, std::make_unique<PacketConnection>(std::move(accepted))});
    return true;
}

void readConnections(NetSession& session, std::vector<Incoming>& incoming) {
    std::vector<platform::SocketHandle> handles;
    for (const ServerConnection& c : session.connections) handles.push_back(c.connection->handle());
    std::vector<char> ready;
    platform::pollReadable(handles, ready, 0);
    std::vector<std::uint8_t> packet;
    int served = 0;
    for (std::size_t i = 0; i < session.connections.size() && served < maxReadyPerPass; ++i) {
        ServerConnection& c = session.connections[i];
        if (!ready[i] && !c.connection->hasWholePacket() && !c.connection->isGone()) continue;
        ++served;
        Incoming in;
        in.connection = c.id;
        switch (c.connection->read(packet)) {
        case PacketConnection::Read::Packet:
            if (readMessage(packet.data(), packet.size(), in.message)) incoming.push_back(in);
            break;
        case PacketConnection::Read::Nothing: break;
        case PacketConnection::Read::Gone: session.server.dropConnection(c.id); break;
        }
    }
    session.connections.erase(std::remove_if(session.connections.begin(), session.connections.end(),
                                             [](const ServerConnection& c) { return c.connection->isGone(); }),
                              session.connections.end());
}

void writeOutgoing(NetSession& session, const std::vector<Outgoing>& out) {
    for (const Outgoing& o : out) {
        auto found = std::find_if(session.connections.begin(), session.connections.end(),
                                  [&](const ServerConnection& c) { return c.id == o.connection; });
        // A peer that takes nothing for that long is treated as gone (removed on the next pass).
        if (found != session.connections.end() && !writeMessage(*found->connection, o.message))
            found->connection->markGone();
    }
}

// Waits until a socket has something to read, or at most one pass interval (new local players
// and the stop flag are seen then). Packets already buffered need no wait at all.
void waitForTraffic(NetSession& session) {
    std::vector<platform::SocketHandle> handles;
    bool buffered = false;
    if (!session.clientSocket->isGone()) {
        handles.push_back(session.clientSocket->handle());
        buffered = session.clientSocket->hasWholePacket();
    }
    if (session.serverSocket.isOpen()) handles.push_back(session.serverSocket.handle());
    for (const ServerConnection& c : session.connections) {
        handles.push_back(c.connection->handle());
        buffered = buffered || c.connection->hasWholePacket() || c.connection->isGone();
    }
    std::vector<char> ready;
    platform::pollReadable(handles, ready, buffered ? 0 : passIntervalMs);
}

void closeServerPart(NetSession& session) {
    session.connections.clear();
    session.serverSocket.close();
    session.server.clear();
}

// Under the lock: a user message addressed to a registered local player goes to its queue; true
// when it is thereby used up (it was not a broadcast).
bool deliverLocally(NetSession& session, const NetMessage& message) {
    if (message.type() != userMessage) return false;
    bool delivered = false;
    for (NetPlayer& player : session.localPlayers) {
        if (player.id < 0 || player.id != message.to()) continue;
        if (player.messages.size() >= maxQueuedMessages) player.messages.pop_front();
        player.messages.push_back(message);
        delivered = true;
    }
    return delivered && message.to() != toEveryone;
}

// Under the lock: a message from the server holds a reply or a new id.
void takeServerMessage(NetSession& session, const NetMessage& message) {
    if (message.from() != serverId) return;
    if (message.type() >= 100) {
        if (session.replies.size() >= maxQueuedReplies) session.replies.pop_front();
        session.replies.push_back(message);
    } else if (message.type() == playerCreatedMessage && message.to() >= 0) {
        for (NetPlayer& player : session.localPlayers) {
            if (player.id != idJoinSent) continue;
            player.id = message.to();
            break;
        }
    }
}

} // namespace

std::vector<Outgoing> handleIncoming(NetSession& session, const std::vector<Incoming>& incoming) {
    // Local delivery and the server's replies need the lock; routing on the server part does not.
    std::vector<Incoming> forServer;
    {
        std::lock_guard<std::mutex> hold(session.lock);
        for (const Incoming& in : incoming) {
            if (deliverLocally(session, in.message)) continue;
            // What the server says goes to the client side; what peers say goes to the server
            // part: a peer can neither forge a reply nor make the server answer the server.
            if (in.connection < 0) takeServerMessage(session, in.message);
            else forServer.push_back(in);
        }
    }
    if (!incoming.empty()) session.changed.notify_all();  // a new id or a reply may be waited for
    std::vector<Outgoing> out;
    for (const Incoming& in : forServer) session.server.serve(in.message, in.connection, out);
    return out;
}

namespace {

// One pass; false when the thread is to end.
bool networkPass(NetSession& session) {
    {
        std::lock_guard<std::mutex> hold(session.lock);
        if (session.stopRequested) return false;
    }
    sendJoins(session);
    std::vector<Incoming> incoming;
    readClient(session, incoming);
    if (session.serverSocket.isOpen()) {
        if (!acceptWaiting(session)) {
            closeServerPart(session);
            return false;
        }
        readConnections(session, incoming);
    }
    writeOutgoing(session, handleIncoming(session, incoming));
    return true;
}

} // namespace

void runNetworkThread(NetSession* session) {
    while (networkPass(*session)) waitForTraffic(*session);
    std::lock_guard<std::mutex> hold(session->lock);
    session->threadRunning = false;
    session->stopRequested = true;
    session->changed.notify_all();
}

} // namespace tarvoke
