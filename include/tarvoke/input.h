// Input: the keyboard by key code (DirectInput scan codes: 1 Escape, 28 Enter, 57 Space, 200 Up,
// ...), typed characters as Windows-1252 bytes, the mouse, up to 10 joysticks, the waits and
// one-line text entry. Keys, buttons and movement change at showScreen and in the waits.
#pragma once
#include "tarvoke/StrValue.h"

namespace tarvoke {

// ---------------------------------------------------------------- keyboard and typed characters
NumValue keyDown(NumValue keyCode);        // 1 while the key is down; a tap reads down for a frame
StrValue inkey();                          // the character a new key press typed, else ""

// ---------------------------------------------------------------- mouse
void mouseState(NumValue& x, NumValue& y, NumValue& left, NumValue& right);  // x, y kept on the screen
NumValue mouseAxis(NumValue axis);         // 0 dx, 1 dy, 2 wheel (-1, 0, 1), 3 left, 4 right, 5 middle
void systemPointer(NumValue flag);         // shows (set) or hides and holds the system pointer
void setMousePosition(NumValue x, NumValue y);  // the engine's position; the pointer stays

// ---------------------------------------------------------------- joysticks (0..9, in the system's order)
NumValue joystickX(NumValue joystick);     // -1..1
NumValue joystickY(NumValue joystick);
NumValue joystickZ(NumValue joystick);
NumValue joystickRX(NumValue joystick);
NumValue joystickRY(NumValue joystick);
NumValue joystickRZ(NumValue joystick);
NumValue joystickHatX(NumValue joystick);  // first hat: -1 left, 0, 1 right
NumValue joystickHatY(NumValue joystick);  // first hat: -1 up, 0, 1 down
void joystickState(NumValue& x, NumValue& y, NumValue& button1, NumValue& button2);  // joystick 0
StrValue joystickName(NumValue joystick);  // "" for no joystick
NumValue joystickCount();
void joystickForce(NumValue joystick, NumValue durationMs, NumValue x, NumValue y);  // -1..1 each

// ---------------------------------------------------------------- waits and text entry
void waitForKey();                         // until a key that types a character is pressed
void waitForMouseButton();                 // until a mouse button is pressed
void inputText(StrValue& text, NumValue x, NumValue y);  // edits `text` on screen until Enter
NumValue inputNumber(NumValue x, NumValue y);  // inputText on "", read as a number

} // namespace tarvoke
