// Input as the engine's core drives it: start and stop, the events of the pump, and the frame's
// poll. The subsystem owns InputManager (reached through `inputManager`); only input/ touches
// its fields.
#pragma once
#include "platform/Events.h"

namespace tarvoke {

bool startInput();                                    // creates InputManager
void stopInput();
void handleInputEvent(const platform::Event& event);  // key, text, mouse and joystick events
void pollInputForFrame();                             // the frame's snapshot of the keys
bool isKeyDown(int keyCode);                          // in that snapshot; false before start-up

} // namespace tarvoke
