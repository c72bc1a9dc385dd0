// The game-session commands: each one checks for the session and forwards to it.
#include <string>
#include "net/NetSession.h"
#include "tarvoke/net.h"

namespace tarvoke {
namespace {

constexpr int connectWaitMs = 5000;
constexpr std::size_t addressListLimit = 4096;
constexpr std::uint32_t loopback = 0x7F000001;

int idFromText(const StrValue& text) { return toInt(text.toNumber()); }

std::uint16_t gamePort(const StrValue& text) {
    const int port = idFromText(text);
    return std::uint16_t(port <= 0 ? defaultGamePort : port);
}

StrValue idText(int id) { return formatNumber(NumValue(id)); }

// Opens the client connection and starts the thread. This machine is reached through loopback,
// which works whatever interfaces the machine has.
bool connectAndRun(NetSession& session, platform::SocketAddress address, bool hosting) {
    platform::SocketStatus status;
    platform::Socket client = platform::connectTo(address, connectWaitMs, status);
    if (!client.isOpen()) return false;
    session.clientSocket = std::make_unique<PacketConnection>(std::move(client));
    {
        std::lock_guard<std::mutex> hold(session.lock);
        session.isHost = hosting;
    }
    startNetworkThread(session);
    return true;
}

NetMessage requestFor(int type) { return NetMessage(type, serverId, serverId); }

} // namespace

NumValue netHostGame(const StrValue& portText) {
    if (!netSession) return 0;
    NetSession& session = *netSession;
    endSession(session);
    const std::uint16_t port = gamePort(portText);
    session.serverSocket = platform::openListener(port);
    if (!session.serverSocket.isOpen()) return 0;
    if (connectAndRun(session, {loopback, port}, true)) return 1;
    session.serverSocket.close();
    return 0;
}

NumValue netJoinGame(const StrValue& addressText, const StrValue& portText) {
    if (!netSession) return 0;
    NetSession& session = *netSession;
    endSession(session);
    platform::SocketAddress address{loopback, 0};
    if (addressText.length() > 0 && !platform::resolveAddress(addressText.cStr(), address)) return 0;
    address.port = gamePort(portText);
    if (!connectAndRun(session, address, false)) return 0;
    NetMessage hello = requestFor(helloRequest);
    if (netRequest(session, hello)) return 1;
    endSession(session);
    return 0;
}

StrValue netLocalAddresses() {
    if (netSession) endSession(*netSession);
    std::string joined;
    for (const platform::SocketAddress& address : platform::localAddresses()) {
        if (!joined.empty()) joined += '|';
        joined += platform::addressText(address);
        if (joined.size() + 32 > addressListLimit) break;
    }
    return StrValue(joined.c_str());
}

StrValue netCreatePlayer(const StrValue& name) {
    if (!netSession) return idText(-1);
    return idText(createLocalPlayer(*netSession, std::string(name.cStr(), name.length()), false));
}

NumValue netDestroyPlayer(const StrValue& idValue) {
    const int id = idFromText(idValue);
    if (netSession && netSession->clientSocket && id >= 0)
        writeMessage(*netSession->clientSocket, NetMessage(leaveMessage, serverId, id));
    return 1;
}

NumValue netSendMessage(const StrValue& from, const StrValue& to, const StrValue& text) {
    if (!netSession || !netSession->clientSocket) return 0;
    int receiver = idFromText(to);
    if (receiver == 0) receiver = toEveryone;
    NetMessage message(userMessage, receiver, idFromText(from));
    message.setPayload(text.cStr(), text.length());  // at most 1024 bytes travel
    return writeMessage(*netSession->clientSocket, message) ? 1 : 0;
}

StrValue netGetMessage(const StrValue& idValue) {
    if (!netSession) return StrValue();
    const int id = idFromText(idValue);
    std::lock_guard<std::mutex> hold(netSession->lock);
    for (NetPlayer& player : netSession->localPlayers) {
        if (player.id != id || player.messages.empty()) continue;
        const NetMessage message = player.messages.front();
        player.messages.pop_front();
        netSession->lastSender = message.from();
        return StrValue(message.payloadText().c_str());
    }
    return StrValue();
}

StrValue netLastSender() {
    if (!netSession) return idText(0);
    std::lock_guard<std::mutex> hold(netSession->lock);
    return idText(netSession->lastSender);
}

NumValue netPlayerCount() {
    NetMessage request = requestFor(countRequest);
    return netSession && netRequest(*netSession, request) ? request.payloadNumber() : 0;
}

StrValue netPlayerId(NumValue index) {
    NetMessage request = requestFor(idRequest);
    request.setPayloadNumber(toInt(index));
    return idText(netSession && netRequest(*netSession, request) ? request.payloadNumber() : 0);
}

StrValue netPlayerName(const StrValue& id) {
    NetMessage request = requestFor(nameRequest);
    request.setPayloadNumber(idFromText(id));
    if (!netSession || !netRequest(*netSession, request)) return StrValue("NO_DATA");
    return StrValue(request.payloadText().c_str());
}

} // namespace tarvoke
