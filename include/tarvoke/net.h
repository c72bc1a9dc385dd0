// Networking: game sessions over TCP, where one program hosts and others join, each makes named
// players, and players pass text messages one to one or to everyone; and HTTP/1.0 download.
// Ids and ports given as text are read with the text-to-number rule.
#pragma once
#include "tarvoke/StrValue.h"

namespace tarvoke {

// ---------------------------------------------------------------- game sessions
NumValue netHostGame(const StrValue& port);                           // 1 when hosting; port <= 0: 26000
NumValue netJoinGame(const StrValue& address, const StrValue& port);  // 1 when the host answered; "" = this machine
StrValue netLocalAddresses();                                         // ends any session; "a.b.c.d|..."
StrValue netCreatePlayer(const StrValue& name);                       // the new player's id; "-1" when none came
NumValue netDestroyPlayer(const StrValue& id);                        // announces the player's leave; 1
NumValue netSendMessage(const StrValue& from, const StrValue& to, const StrValue& text);  // to "0": everyone; 1 when sent
StrValue netGetMessage(const StrValue& id);                           // the player's next message, or ""
StrValue netLastSender();                                             // the id that sent the last message taken
NumValue netPlayerCount();                                            // players in the game; 0 without an answer
StrValue netPlayerId(NumValue index);                                 // id of the index-th player; "0" past the end
StrValue netPlayerName(const StrValue& id);                           // the player's name; "NO_DATA" if unknown

// ---------------------------------------------------------------- HTTP
NumValue httpGet(const StrValue& server, const StrValue& path, NumValue port, const StrValue& file);  // 1 when the whole body was stored

} // namespace tarvoke
