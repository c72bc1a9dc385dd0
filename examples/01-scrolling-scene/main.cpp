// A scrolling scene: stars drift past, a ship bobs and turns, and a score counts up.
// Everything is drawn with engine commands; the sprites are made by drawing and grabbing them,
// so the example needs no media files. Escape ends it.
#include <tarvoke.h>

using namespace tarvoke;

const GameInfo tarvoke::gameInfo = {"Scrolling scene", ProjectSettings{}};

namespace {

constexpr int shipSprite = 1, starSprite = 2, starCount = 60;

// Draws a small ship and a star into the screen's corner and grabs them as sprites.
void makeSprites() {
    drawRect(0, 0, 64, 32, 0x8000ff);           // the key colour: transparent once grabbed
    drawRect(4, 12, 40, 8, 0xC0C0C0);           // hull
    drawRect(28, 8, 12, 16, 0x3060FF);          // cockpit
    drawRect(44, 14, 16, 4, 0x00A0FF);          // nose
    drawLine(0, 16, 4, 16, 0x0080FF);           // flame
    grabSprite(shipSprite, 0, 0, 64, 32);
    drawRect(0, 0, 4, 4, 0x8000ff);
    drawRect(1, 0, 2, 4, 0xFFFFFF);
    drawRect(0, 1, 4, 2, 0xFFFFFF);
    grabSprite(starSprite, 0, 0, 4, 4);
}

} // namespace

void tarvokeMain() {
    makeSprites();
    NumValue score = 0;
    for (long frame = 0;; ++frame) {
        for (int star = 0; star < starCount; ++star) {
            const NumValue speed = 1 + star % 3;
            const NumValue x = 640 - modulo(frame * speed + star * 97, 660);
            drawSprite(starSprite, x, (star * 53) % 470);
        }
        const NumValue time = getTimerAll();
        rotoZoomSprite(shipSprite, 120, 220 + 40 * sinDeg(time / 10), 10 * sinDeg(time / 7), 1.5);
        score += 10;
        printText(concat("SCORE ", score), 8, 8);
        showScreen();
    }
}
