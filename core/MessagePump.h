// What every waiting loop of the engine does besides waiting: the frame loop and the input
// waits hand the pending events to their owners and end the program on the ending keys. The
// subsystems that wait (input) may call these; nothing else of core is theirs to call.
#pragma once

namespace tarvoke {

int pumpMessages();           // hands every pending event to its owner; 1
// Ends the program (error code 0) on Escape, unless allowEscape(0) was given, or on left Alt+F4.
void endOnEndingKeys();

} // namespace tarvoke
