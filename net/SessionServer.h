// The server part of a game session, as the host runs it: the registered (remote) players, the
// ids it gives out, and how it answers each message that arrives on a connection. It touches no
// socket: what it wants written comes back as a list, so the caller can write without holding
// any lock, and so the routing can be tried on any bytes without a network.
#pragma once
#include <cstddef>
#include <list>
#include <memory>
#include <vector>
#include "net/NetMessage.h"
#include "net/NetPlayer.h"
#include "net/PacketConnection.h"

namespace tarvoke {

constexpr std::size_t maxPlayersPerConnection = 64;
constexpr std::size_t maxConnections = 256;

// An accepted connection and the id that players registered on it refer to.
struct ServerConnection {
    int id = 0;
    std::unique_ptr<PacketConnection> connection;
};

// A message the server wants written on connection `connection`.
struct Outgoing {
    int connection = 0;
    NetMessage message;
};

class SessionServer {
public:
    std::list<NetPlayer> players;     // registered players, in the order they joined
    int nextPlayerId = 101;

    // Handles one valid message that arrived on the connection.
    void serve(const NetMessage& message, int connection, std::vector<Outgoing>& out);
    // The connection has gone: its players go with it.
    void dropConnection(int connection);
    void clear();

private:
    void registerPlayer(const NetMessage& join, int connection, std::vector<Outgoing>& out);
    void answerRequest(const NetMessage& request, int connection, std::vector<Outgoing>& out);
    void forward(const NetMessage& message, std::vector<Outgoing>& out);
    NetPlayer* findPlayer(int id);
    std::size_t playersOn(int connection) const;
};

} // namespace tarvoke
