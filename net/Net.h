// Networking as the engine's core drives it: start and stop. The subsystem owns NetSession
// (reached through `netSession`); only net/ touches its fields.
#pragma once

namespace tarvoke {

// Creates the session idle: no sockets, no players, no thread.
bool startNet();
// Announces every registered local player's leave, stops the network thread, closes the
// sockets and frees the session.
void stopNet();

} // namespace tarvoke
