#include "InputMonitor.h"

using namespace tarvoke;

namespace inputMonitor {
namespace {

constexpr int typedKept = 40;

void drawKeyboard(Monitor& monitor) {
    StrValue held = "KEYS HELD:";
    for (int code = 1; code < 256; ++code)
        if (keyDown(code)) held = concat(concat(held, " "), NumValue(code));
    printText(held, 8, 32);
    for (StrValue typed = inkey(); typed.length() > 0; typed = inkey()) monitor.typed += typed;
    if (monitor.typed.length() > typedKept) monitor.typed = midText(monitor.typed, monitor.typed.length() - typedKept, typedKept);
    printText(concat("TYPED: ", monitor.typed), 8, 52);
}

void drawMouse(Monitor& monitor) {
    NumValue x, y, left, right;
    mouseState(x, y, left, right);
    monitor.wheel += mouseAxis(2);
    StrValue text = concat(concat("MOUSE ", x), concat(" ", y));
    text += concat("  MOVED ", mouseAxis(0));
    text += concat(" ", mouseAxis(1));
    text += concat("  WHEEL ", monitor.wheel);
    if (left != 0) text += "  LEFT";
    if (mouseAxis(5) != 0) text += "  MIDDLE";
    if (right != 0) text += "  RIGHT";
    printText(text, 8, 80);
    drawRect(x - 4, y, 9, 1, white);
    drawRect(x, y - 4, 1, 9, white);
}

void drawAxis(int top, int row, const char* label, NumValue value) {
    const int y = top + barTop + row * barStep;
    const int centre = barLeft + barWidth / 2;
    const NumValue reach = toInt(value * (barWidth / 2));
    drawRect(barLeft, y, barWidth, barHeight, dark);
    if (reach > 0) drawRect(centre, y, reach, barHeight, green);
    if (reach < 0) drawRect(centre + reach, y, -reach, barHeight, green);
    printText(label, 8, y - 5);
}

void drawJoystick(int joystick) {
    const int top = panelTop + joystick * panelHeight;
    printText(concat(concat(NumValue(joystick), ": "), joystickName(joystick)), 8, top);
    drawAxis(top, 0, "X", joystickX(joystick));
    drawAxis(top, 1, "Y", joystickY(joystick));
    drawAxis(top, 2, "Z", joystickZ(joystick));
    drawAxis(top, 3, "RX", joystickRX(joystick));
    drawAxis(top, 4, "RY", joystickRY(joystick));
    drawAxis(top, 5, "RZ", joystickRZ(joystick));
    const NumValue hatX = joystickHatX(joystick), hatY = joystickHatY(joystick);
    for (int row = -1; row <= 1; ++row)
        for (int column = -1; column <= 1; ++column)
            drawRect(hatLeft + (column + 1) * hatStep, top + hatTop + (row + 1) * hatStep, cellSize, cellSize,
                     column == hatX && row == hatY ? yellow : dark);
}

// Games read buttons through joystickState, which answers for joystick 0 and its first two
// buttons; the monitor shows what a game can see.
void drawJoystickState() {
    NumValue x, y, button1, button2;
    joystickState(x, y, button1, button2);
    const int top = panelTop;
    drawRect(buttonLeft, top + buttonTop, cellSize, cellSize, button1 != 0 ? yellow : dark);
    drawRect(buttonLeft + buttonStep, top + buttonTop, cellSize, cellSize, button2 != 0 ? yellow : dark);
    printText(concat(concat("BUTTONS 1 2   STATE ", x), concat(" ", y)), buttonLeft, top + buttonTop + buttonStep + 4);
}

} // namespace

void drawFrame(Monitor& monitor) {
    printText("INPUT MONITOR - ESCAPE ENDS", 8, 8);
    drawKeyboard(monitor);
    drawMouse(monitor);
    const NumValue count = joystickCount();
    printText(concat("JOYSTICKS: ", count), 8, 110);
    for (int joystick = 0; joystick < count && joystick < panelsShown; ++joystick) drawJoystick(joystick);
    if (count > 0) drawJoystickState();
}

} // namespace inputMonitor
