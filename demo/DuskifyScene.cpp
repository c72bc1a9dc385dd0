#include "DuskifyScene.h"

using namespace tarvoke;

namespace duskify {

void setUpScene() {
    loadBackground("test.png");
    loadShader(duskShader, "", "Duskify.frag");
    drawRect(0, 0, 64, 64, 65280);          // green
    drawRect(0, 0, 32, 32, 16711680);       // blue top-left quarter
    drawRect(32, 32, 32, 32, 16777215);     // white bottom-right quarter
    printText("DSK", 8, 8);
    grabSprite(tileSprite, 0, 0, 64, 64);
}

void drawFrame(NumValue zoomTime, NumValue angleTime, bool withShader) {
    const NumValue zoom = sinDeg(zoomTime / 37) + 1;
    const NumValue angle = angleTime / 20;
    rotoZoomSprite(tileSprite, 140, 100, angle, zoom);
    // The top-left quarter, squeezed to half width through the shader...
    grabSprite(grabBuffer, 0, 0, 320, 240);
    setSmoothing(1);
    if (withShader) setShader(duskShader);
    stretchSprite(grabBuffer, 0, 0, 160, 240);
    setShader(-1);
    // ...then the half-width strip blown up to the whole window without filtering.
    grabSprite(grabBuffer, 0, 0, 160, 240);
    setSmoothing(0);
    stretchSprite(grabBuffer, 0, 0, 640, 480);
}

} // namespace duskify
