// The keyboard commands games call. keyDown reads the keys held as the event pump last saw them.
#include "input/InputManager.h"
#include "tarvoke/input.h"

namespace tarvoke {

NumValue keyDown(NumValue keyCode) {
    if (!inputManager) return 0;
    inputManager->pollKeyboard();
    return inputManager->isKeyDown(toInt(keyCode) & 0xFF) ? 1 : 0;  // the code's low 8 bits
}

} // namespace tarvoke
