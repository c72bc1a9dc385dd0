// Input as the engine's core drives it: start, binding to the final window, the pointer setting,
// stop, the events of the pump and the frame's poll. The subsystem owns InputManager (reached
// through `inputManager`); only input/ touches its fields.
#pragma once
#include "platform/Events.h"

namespace tarvoke {

bool startInput();                                    // creates InputManager
bool bindInputToWindow();                             // joysticks, keyboard and mouse for the window
bool applyPointerSetting();                           // shows or hides the pointer as the settings say
void stopInput();                                     // lets go of the pointer and the joysticks
void handleInputEvent(const platform::Event& event);  // key, text and mouse events
void pollInputForFrame();                             // the frame's snapshot; the next mouse read is fresh
bool isKeyDown(int keyCode);                          // in that snapshot; false before start-up
bool anyKeyOrButtonDown();                            // any key or mouse button, in that snapshot

} // namespace tarvoke
