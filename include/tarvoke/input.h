// Input: the keyboard in DirectInput key numbering (1 Escape, 2..11 the digits 1..0, 57 Space,
// 200/208/203/205 the arrow keys up, down, left, right).
#pragma once
#include "tarvoke/scalars.h"

namespace tarvoke {

NumValue keyDown(NumValue keyCode);        // 1 while the key is held, else 0
// (more input commands arrive with the input subsystem)

} // namespace tarvoke
