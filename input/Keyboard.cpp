// Keys and typed characters: keyDown, inkey and the translation of a key press into the byte it
// typed. A character comes from the active keyboard layout with the modifiers held, through the
// window system's text for the press; each press gives its character once, in the order typed.
#include <array>
#include "input/InputManager.h"
#include "tarvoke/input.h"

namespace tarvoke {
namespace {

constexpr int keyBackspace = 14, keyEnter = 28, keyPadEnter = 156;
constexpr int enterChar = 10, backspaceChar = 8;

// Control, the Shifts, Alt, Caps Lock, Num Lock and the menu key type nothing themselves.
bool typesNothing(int keyCode) {
    constexpr std::array<int, 7> silent = {29, 42, 54, 56, 58, 69, 221};
    for (int code : silent)
        if (code == keyCode) return true;
    return false;
}

int charOfPress(const InputManager::TypedPress& press) {
    const int keyCode = press.keyCode;
    if (keyCode == keyEnter || keyCode == keyPadEnter) return enterChar;
    if (keyCode == keyBackspace) return backspaceChar;
    if (typesNothing(keyCode)) return 0;
    const int ch = press.typed;
    return ch < 32 && ch != backspaceChar && ch != enterChar ? 0 : ch;
}

} // namespace

// The character of the oldest key press that has not given it yet; presses that type nothing
// (Shift, Control, ...) are passed over.
int typedChar() {
    InputManager* input = inputManager;
    if (!input) return 0;
    input->poll();
    input->charactersRead = true;
    InputManager::TypedPress press;
    while (input->takePress(press)) {
        if (const int ch = charOfPress(press)) return ch;
    }
    return 0;
}

bool keyTyped() { return typedChar() != 0; }

NumValue keyDown(NumValue keyCode) {
    InputManager* input = inputManager;
    if (!input) return 0;
    input->poll();
    return input->isKeyDown(toInt(keyCode) & 0xFF) ? 1 : 0;
}

StrValue inkey() {
    const char text[2] = {char(typedChar()), 0};
    return StrValue(text);
}

} // namespace tarvoke
