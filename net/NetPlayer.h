// NetPlayer: one player of a game session, either made in this process (a local player, with
// the queue of messages addressed to it) or registered at the server part on the host (a remote
// player, with the connection it arrived on).
#pragma once
#include <deque>
#include <string>
#include "net/NetMessage.h"

namespace tarvoke {

struct NetPlayer {
    int socket = -1;                 // server: id of the connection it arrived on; -1 locally
    int id = -1;                     // -1 new, -3 join sent, -2 abandoned, else the server's id
    bool hidden = false;             // the engine's own requester: never counted, listed or sent broadcasts
    bool createdOnHost = false;      // made on the hosting machine; always false in the server's copy
    std::string name;                // at most 127 bytes
    std::deque<NetMessage> messages; // local players: messages waiting for netGetMessage
};

} // namespace tarvoke
