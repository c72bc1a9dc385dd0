// The session's life (created idle, ended, destroyed) and the main thread's side of it: the
// network thread started and stopped, messages written, requests and new players waited for.
#include "net/NetSession.h"
#include <chrono>
#include <iterator>
#include "net/Net.h"

namespace tarvoke {

NetSession* netSession = nullptr;

namespace {

std::unique_ptr<NetSession> ownedSession;

using Clock = std::chrono::steady_clock;
constexpr auto checkInterval = std::chrono::milliseconds(20);
constexpr auto stopCheckInterval = std::chrono::milliseconds(50);
constexpr int writeWaitMs = 500;

// Checks `ready` under the lock every 20 ms until it holds or waitChecks checks have passed.
template <class Ready>
bool waitUnderLock(NetSession& session, std::unique_lock<std::mutex>& hold, Ready ready) {
    const Clock::time_point deadline = Clock::now() + checkInterval * session.waitChecks;
    while (!ready()) {
        const Clock::time_point now = Clock::now();
        if (now >= deadline) return false;
        session.changed.wait_for(hold, std::min<Clock::duration>(checkInterval, deadline - now));
    }
    return true;
}

void announceLeaves(NetSession& session) {
    if (!session.clientSocket) return;
    std::vector<int> ids;
    {
        std::lock_guard<std::mutex> hold(session.lock);
        for (const NetPlayer& player : session.localPlayers)
            if (player.id >= 0) ids.push_back(player.id);
    }
    for (int id : ids) writeMessage(*session.clientSocket, NetMessage(leaveMessage, serverId, id));
}

void closeSockets(NetSession& session) {
    session.connections.clear();
    session.serverSocket.close();
    session.clientSocket.reset();
}

} // namespace

bool startNet() {
    if (!ownedSession) ownedSession = std::make_unique<NetSession>();
    netSession = ownedSession.get();
    return true;
}

void stopNet() {
    if (!ownedSession) return;
    announceLeaves(*ownedSession);
    netSession = nullptr;
    ownedSession.reset();  // stops the thread, closes the sockets
}

NetSession::NetSession() : holdsSocketLayer(platform::acquireSockets()) {}

NetSession::~NetSession() {
    stopNetworkThread(*this);
    closeSockets(*this);
    if (holdsSocketLayer) platform::releaseSockets();
}

void endSession(NetSession& session) {
    stopNetworkThread(session);
    closeSockets(session);
    {
        std::lock_guard<std::mutex> hold(session.lock);
        session.localPlayers.clear();
        session.replies.clear();
        session.requesterId = -1;
        session.isHost = false;
    }
    session.server.clear();
    session.nextConnectionId = 1;
    // The socket layer starts over; other users of it (a download) keep it alive meanwhile.
    if (session.holdsSocketLayer) platform::releaseSockets();
    session.holdsSocketLayer = platform::acquireSockets();
}

void startNetworkThread(NetSession& session) {
    if (session.thread.joinable()) session.thread.join();  // one that ended by itself
    {
        // Set here rather than by the thread, so that a stop asked for before the thread gets
        // going still waits for it.
        std::lock_guard<std::mutex> hold(session.lock);
        session.stopRequested = false;
        session.threadRunning = true;
    }
    session.thread = std::thread(runNetworkThread, &session);
}

void stopNetworkThread(NetSession& session) {
    std::unique_lock<std::mutex> hold(session.lock);
    session.stopRequested = true;
    while (session.threadRunning) session.changed.wait_for(hold, stopCheckInterval);
    hold.unlock();
    if (session.thread.joinable()) session.thread.join();
}

bool isSessionRunning(NetSession& session) {
    std::lock_guard<std::mutex> hold(session.lock);
    return session.threadRunning && !session.stopRequested;
}

bool writeMessage(PacketConnection& connection, const NetMessage& message) {
    return connection.write(message.bytes.data(), message.wireSize(), writeWaitMs) ||
           connection.write(message.bytes.data(), message.wireSize(), writeWaitMs);
}

int createLocalPlayer(NetSession& session, const std::string& name, bool hidden) {
    std::unique_lock<std::mutex> hold(session.lock);
    if (!session.threadRunning || session.stopRequested) return -1;  // nobody would register it
    NetPlayer player;
    player.hidden = hidden;
    player.createdOnHost = session.isHost;
    player.name = name.substr(0, playerNameSize);
    session.localPlayers.push_back(std::move(player));
    const auto made = std::prev(session.localPlayers.end());
    if (waitUnderLock(session, hold, [&] { return made->id >= 0; })) return made->id;
    made->id = idAbandoned;
    return -1;
}

bool netRequest(NetSession& session, NetMessage& message) {
    if (!isSessionRunning(session) || !session.clientSocket) return false;
    std::unique_lock<std::mutex> hold(session.lock);
    if (session.requesterId < 0) {
        hold.unlock();
        const int id = createLocalPlayer(session, "", true);
        hold.lock();
        if (id < 0) return false;
        session.requesterId = id;
    }
    message.setFrom(session.requesterId);
    message.setTo(serverId);
    session.replies.clear();
    hold.unlock();
    if (!writeMessage(*session.clientSocket, message)) return false;
    hold.lock();
    // Only a reply of the asked type answers; strays of other types are dropped.
    const int wanted = message.type();
    return waitUnderLock(session, hold, [&] {
        while (!session.replies.empty()) {
            const NetMessage reply = session.replies.front();
            session.replies.pop_front();
            if (reply.type() == wanted) {
                message = reply;
                return true;
            }
        }
        return false;
    });
}

} // namespace tarvoke
