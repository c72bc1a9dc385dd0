#include "input/InputManager.h"

namespace tarvoke {

InputManager* inputManager = nullptr;

void InputManager::initInput(platform::NativeWindow* mainWindow) { window = mainWindow; }

void InputManager::pollKeyboard() { platform::readKeyboard(keyState); }

void InputManager::releaseInput() { window = nullptr; }

} // namespace tarvoke
