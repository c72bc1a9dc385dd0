// A game-session peer for the tests: starts only the network session (no window) and runs one
// command per line from standard input, answering each with one line on standard output.
//   host PORT | join ADDRESS PORT ("-": empty) | create NAME | destroy ID | send FROM TO TEXT...
//   sendn FROM TO COUNT (COUNT bytes "x") | get ID WAITMS | sender | count | id INDEX | name ID
//   checks N (how many 20 ms checks a wait makes) | quit
#include <chrono>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include "net/Net.h"
#include "net/NetSession.h"
#include "tarvoke/net.h"

using namespace tarvoke;

namespace {

std::string restOfLine(std::istringstream& in) {
    std::string text;
    std::getline(in >> std::ws, text);
    return text;
}

std::string waitForMessage(const std::string& id, int waitMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        const StrValue text = netGetMessage(id.c_str());
        if (text.length() > 0 || std::chrono::steady_clock::now() >= deadline) return text.cStr();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

std::string run(const std::string& line) {
    std::istringstream in(line);
    std::string command, a, b;
    in >> command;
    if (command == "host") return formatNumber(netHostGame((in >> a, a).c_str())).cStr();
    if (command == "join") {
        in >> a >> b;
        return formatNumber(netJoinGame(a == "-" ? "" : a.c_str(), b.c_str())).cStr();
    }
    if (command == "create") return netCreatePlayer(restOfLine(in).c_str()).cStr();
    if (command == "destroy") return formatNumber(netDestroyPlayer((in >> a, a).c_str())).cStr();
    if (command == "send" || command == "sendn") {
        in >> a >> b;
        std::string text = restOfLine(in);
        if (command == "sendn") text = std::string(std::stoul(text), 'x');
        return formatNumber(netSendMessage(a.c_str(), b.c_str(), text.c_str())).cStr();
    }
    if (command == "get") {
        int waitMs = 0;
        in >> a >> waitMs;
        return waitForMessage(a, waitMs);
    }
    if (command == "sender") return netLastSender().cStr();
    if (command == "count") return formatNumber(netPlayerCount()).cStr();
    if (command == "id") return netPlayerId((in >> a, std::stod(a))).cStr();
    if (command == "name") return netPlayerName((in >> a, a).c_str()).cStr();
    if (command == "checks") {
        in >> netSession->waitChecks;
        return "ok";
    }
    return "unknown command";
}

} // namespace

int main() {
    startNet();
    for (std::string line; std::getline(std::cin, line) && line != "quit";)
        std::cout << run(line) << std::endl;
    stopNet();
    return 0;
}
