// The background picture (tiled image 0), painted into every new frame by the frame loop.
#include <GL/gl.h>
#include "core/Engine.h"
#include "files/ArchiveSlot.h"
#include "graphics2d/Grabs.h"
#include "graphics2d/OpenGLKestrel.h"
#include "tarvoke/graphics2d.h"

namespace tarvoke {
namespace {

constexpr double fadeMs = 1500.0;

void dropBackground() {
    openGLKestrel->sprites.freeTiledImage(0);
    glClear(GL_COLOR_BUFFER_BIT);
}

} // namespace

void clearBackground() {
    if (openGLKestrel) dropBackground();
}

void loadBackground(const StrValue& fileName) {
    if (!openGLKestrel) return;
    // The log lines let a developer follow the loading in "ErrorLog.txt".
    appendErrorLog("Loadbmp");
    appendErrorLog("Pallexing");
    StrValue path;
    if (!resolveFile(generalArchive, fileName, path)) {
        appendErrorLog("failed");
        dropBackground();
        return;
    }
    appendErrorLog("OK?");
    if (openGLKestrel->sprites.loadTiledImage(0, path.cStr()))
        drawTiledImage(0);
    else
        dropBackground();
}

void fadeToBackground(const StrValue& fileName) {
    if (!openGLKestrel) return;
    StrValue path;
    if (!resolveFile(generalArchive, fileName, path)) return;
    SpriteStore& sprites = openGLKestrel->sprites;
    grabIntoTiledImage(2);
    sprites.loadTiledImage(1, path.cStr());
    dropBackground();
    const double end = now() + fadeMs;
    // Additive blending on a cleared frame shows old x f + new x (1 - f).
    for (double f = 0.9; f > 0 && f < 1; f = (end - now()) / fadeMs) {
        setAlphaMode(f);
        drawTiledImage(2);
        setAlphaMode(1 - f);
        drawTiledImage(1);
        showScreen();
    }
    sprites.freeTiledImage(1);
    sprites.freeTiledImage(2);
    sprites.loadTiledImage(0, path.cStr());
    setAlphaMode(0);
    drawTiledImage(0);
    showScreen();
}

} // namespace tarvoke
