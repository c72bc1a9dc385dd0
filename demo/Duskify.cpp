// Duskify: a 64 x 64 tile spins and pulses over an evening landscape, and every frame is
// post-processed by a fragment shader on a half-resolution copy, blown up without filtering.
#include "DuskifyScene.h"

using namespace tarvoke;

const GameInfo tarvoke::gameInfo = {"Duskify", ProjectSettings{640, 480, 0, 0, 60, 0, 0}};

void tarvokeMain() {
    duskify::setUpScene();
    for (;;) {
        const NumValue zoomTime = getTimerAll();
        const NumValue angleTime = getTimerAll();  // a second reading, as the angle has always had
        duskify::drawFrame(zoomTime, angleTime);
        showScreen();
    }
}
