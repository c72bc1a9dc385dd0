// NetSession: the process's one network game session, created idle at start-up. It owns the
// connection to the game's server (every process, the host included, talks to the server part
// through one client connection), on the host the listening socket, the accepted connections and
// the server part, the players made in this process, and the network thread.
//
// Threads. The network thread does all socket reading, routing and bookkeeping; the commands run
// on the main thread.
//  - `lock` guards every field marked [lock]: the local players and their message queues, the
//    replies, the requester id, the last sender and the two flags. Either thread takes it for
//    short stretches only; the thread never holds it while it writes to a socket.
//  - Fields marked [thread] belong to the network thread while it runs (from startNetworkThread
//    until threadRunning is cleared) and to the main thread at every other time: the listening
//    socket, the accepted connections, the server part and the reading side of the client
//    connection.
//  - The client connection itself is set and reset by the main thread only while no thread runs;
//    both threads write on it, and it puts one whole packet at a time on the wire.
//  - The main thread stops the thread by setting stopRequested under the lock and checking
//    threadRunning every 50 ms; `changed` wakes a main thread that waits for an id or a reply.
#pragma once
#include <condition_variable>
#include <deque>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>
#include "net/NetMessage.h"
#include "net/PacketConnection.h"
#include "net/SessionServer.h"
#include "platform/Sockets.h"

namespace tarvoke {

constexpr int defaultGamePort = 26000;
constexpr int firstPlayerId = 101;
// Ids of players not yet registered.
constexpr int idNew = -1;        // made, join not sent yet
constexpr int idAbandoned = -2;  // given up after the wait; the thread removes it
constexpr int idJoinSent = -3;

// Bounds on what peers can make us hold.
constexpr std::size_t maxQueuedMessages = 1024;  // per player; the oldest is dropped first
constexpr std::size_t maxQueuedReplies = 16;
constexpr std::size_t maxClientReadsPerPass = 256;

class NetSession {
public:
    NetSession();
    virtual ~NetSession();
    NetSession(const NetSession&) = delete;
    NetSession& operator=(const NetSession&) = delete;

    std::mutex lock;
    std::condition_variable changed;                  // an id was given or a reply arrived
    std::list<NetPlayer> localPlayers;                // [lock] players made in this process
    std::deque<NetMessage> replies;                   // [lock] server replies for netRequest
    int requesterId = -1;                             // [lock] the hidden requester; -1 = none yet
    int lastSender = 0;                               // [lock] `from` of the last message taken
    bool isHost = false;                              // [lock]
    bool stopRequested = true;                        // [lock] the thread is to end
    bool threadRunning = false;                       // [lock]

    std::unique_ptr<PacketConnection> clientSocket;   // this process's connection to the server
    platform::Socket serverSocket;                    // [thread] the host's listening socket
    std::vector<ServerConnection> connections;        // [thread] accepted connections
    int nextConnectionId = 1;                         // [thread]
    SessionServer server;                             // [thread] remote players and routing
    std::thread thread;

    int waitChecks = 250;                             // checks 20 ms apart for ids and replies
    bool holdsSocketLayer = false;                    // this session counts as a socket-layer user
};

extern NetSession* netSession;  // null before start-up and after shutdown

// Stops the thread, closes every socket, frees every player and starts over from id 101.
void endSession(NetSession& session);
// Sets the flags and starts the thread; the client connection must be open.
void startNetworkThread(NetSession& session);
void runNetworkThread(NetSession* session);  // the thread's body
// Sets stopRequested and waits (50 ms checks) until the thread has ended.
void stopNetworkThread(NetSession& session);
bool isSessionRunning(NetSession& session);

// Writes a whole message on the connection, trying once more when the first write fails.
bool writeMessage(PacketConnection& connection, const NetMessage& message);
// Sends a request (type 101..104) to the server as the hidden requester and waits for the reply
// of the same type, which replaces `message`. False when there is none within the wait.
bool netRequest(NetSession& session, NetMessage& message);
// Makes a local player and waits for the server's id; -1 when none comes within the wait.
int createLocalPlayer(NetSession& session, const std::string& name, bool hidden);

// A valid message read by the network thread and where it came from: -1 the client
// connection (so, from the server), else the id of an accepted connection (a peer).
struct Incoming {
    NetMessage message;
    int connection = -1;
};

// What one pass does with the messages it read: user messages for local players go to their
// queues; the server's replies and new ids are taken; what peers sent goes to the server part,
// whose answers come back to be written.
std::vector<Outgoing> handleIncoming(NetSession& session, const std::vector<Incoming>& incoming);

} // namespace tarvoke
