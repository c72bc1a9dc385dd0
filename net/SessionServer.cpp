#include "net/SessionServer.h"
#include <climits>

namespace tarvoke {
namespace {

NetMessage replyTo(const NetMessage& request) { return NetMessage(request.type(), request.from(), serverId); }

} // namespace

void SessionServer::serve(const NetMessage& message, int connection, std::vector<Outgoing>& out) {
    switch (message.type()) {
    case userMessage: forward(message, out); return;
    case joinMessage: registerPlayer(message, connection, out); return;
    case leaveMessage:
        // Only the connection a player arrived on may take it away.
        players.remove_if([&](const NetPlayer& p) { return p.id == message.from() && p.socket == connection; });
        return;
    default:
        if (message.to() == serverId) answerRequest(message, connection, out);
        return;
    }
}

void SessionServer::forward(const NetMessage& message, std::vector<Outgoing>& out) {
    if (message.to() != toEveryone) {
        if (const NetPlayer* player = findPlayer(message.to())) out.push_back({player->socket, message});
        return;
    }
    for (const NetPlayer& player : players) {
        if (player.hidden || player.id == message.from()) continue;
        Outgoing copy{player.socket, message};
        copy.message.setTo(player.id);
        out.push_back(copy);
    }
}

void SessionServer::registerPlayer(const NetMessage& join, int connection, std::vector<Outgoing>& out) {
    // A peer that keeps joining gets no more players, and ids never run past the 32-bit range.
    if (playersOn(connection) >= maxPlayersPerConnection || nextPlayerId == INT_MAX) return;
    NetPlayer player;
    player.socket = connection;
    player.id = nextPlayerId++;
    player.hidden = joinIsHidden(join);
    player.name = joinName(join);
    players.push_back(player);
    out.push_back({connection, NetMessage(playerCreatedMessage, player.id, serverId)});
}

void SessionServer::answerRequest(const NetMessage& request, int connection, std::vector<Outgoing>& out) {
    // Replies go only to a requester registered on the connection the request came on.
    const NetPlayer* requester = findPlayer(request.from());
    if (!requester || requester->socket != connection) return;
    NetMessage reply = replyTo(request);
    switch (request.type()) {
    case countRequest: {
        std::int32_t count = 0;
        for (const NetPlayer& player : players) count += !player.hidden;
        reply.setPayloadNumber(count);
        break;
    }
    case idRequest: {
        if (request.length() < 4) return;
        std::int64_t index = request.payloadNumber();
        std::int32_t found = 0;
        for (const NetPlayer& player : players) {
            if (player.hidden) continue;
            if (index-- == 0) {
                found = player.id;
                break;
            }
        }
        reply.setPayloadNumber(found);
        break;
    }
    case nameRequest: {
        if (request.length() < 4) return;
        const NetPlayer* named = findPlayer(request.payloadNumber());
        if (!named || named->name.empty()) return;
        reply.setPayload(named->name.data(), named->name.size());
        break;
    }
    case helloRequest: reply.setPayloadNumber(1); break;
    default: return;
    }
    out.push_back({connection, reply});
}

void SessionServer::dropConnection(int connection) {
    players.remove_if([&](const NetPlayer& p) { return p.socket == connection; });
}

void SessionServer::clear() {
    players.clear();
    nextPlayerId = 101;
}

NetPlayer* SessionServer::findPlayer(int id) {
    for (NetPlayer& player : players)
        if (player.id == id) return &player;
    return nullptr;
}

std::size_t SessionServer::playersOn(int connection) const {
    std::size_t count = 0;
    for (const NetPlayer& player : players) count += player.socket == connection;
    return count;
}

} // namespace tarvoke
