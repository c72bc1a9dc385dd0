// Keys and typed characters: keyDown, inkey and the translation of a key press into the byte it
// typed. A character comes from the active keyboard layout with the modifiers held, through the
// window system's text for the press; each press gives its character once.
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

int charOfKey(const InputManager& input, int keyCode) {
    if (keyCode == keyEnter || keyCode == keyPadEnter) return enterChar;
    if (keyCode == keyBackspace) return backspaceChar;
    if (typesNothing(keyCode)) return 0;
    const int ch = input.keyChar[keyCode];
    return ch < 32 && ch != backspaceChar && ch != enterChar ? 0 : ch;
}

} // namespace

// Of the key presses that have not given their character yet, the first.
int typedChar() {
    InputManager* input = inputManager;
    if (!input) return 0;
    input->poll();
    int chosen = -1, chosenChar = 0;
    for (int code = 0; code < keyCodeCount - 1; ++code) {
        if (!input->mayType(code)) continue;
        const int ch = charOfKey(*input, code);
        if (ch != 0 && (chosen < 0 || input->pressOrder[code] < input->pressOrder[chosen])) {
            chosen = code;
            chosenChar = ch;
        }
    }
    if (chosen >= 0) input->charGiven[chosen] = true;
    return chosenChar;
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
