// The background picture (tiled image 0), painted into every new frame by the frame loop, and
// the fade from one background to the next.
#include "graphics2d/Background.h"
#include <GL/gl.h>
#include "files/ArchiveSlot.h"
#include "graphics2d/Grabs.h"
#include "graphics2d/OpenGLKestrel.h"
#include "graphics2d/TextureBinding.h"
#include "tarvoke/core.h"
#include "tarvoke/graphics2d.h"

namespace tarvoke {
namespace {

constexpr double fadeMs = 1500.0;

void dropBackground() {
    openGLKestrel->sprites.freeTiledImage(0);
    glClear(GL_COLOR_BUFFER_BIT);
}

} // namespace

void drawTiledImage(int index) {
    OpenGLKestrel* kestrel = openGLKestrel;
    if (!kestrel) return;
    TiledImage& tiled = kestrel->sprites.tiledImages[std::size_t(index)];
    glDisable(GL_ALPHA_TEST);
    bindSprite(-1, -1, false);  // switches texture unit 1 off
    glEnable(GL_TEXTURE_2D);
    float x = 0;
    for (int column = 0; column < tiled.columns; ++column) {
        float y = 0;
        float columnWidth = 0;
        for (int row = 0; row < tiled.rows; ++row) {
            const Tile& tile = tiled.tile(column, row);
            const float width = float(tile.usedWidth), height = float(tile.usedHeight);
            const float s = width / float(tile.textureWidth), t = height / float(tile.textureHeight);
            glBindTexture(GL_TEXTURE_2D, tile.texture.name());
            glBegin(GL_QUADS);
            glTexCoord2f(0, 0);
            glVertex2f(x, y + height);
            glTexCoord2f(s, 0);
            glVertex2f(x + width, y + height);
            glTexCoord2f(s, t);
            glVertex2f(x + width, y);
            glTexCoord2f(0, t);
            glVertex2f(x, y);
            glEnd();
            y += float(tile.textureHeight);
            columnWidth = float(tile.textureWidth);
        }
        x += columnWidth;
    }
    glEnable(GL_ALPHA_TEST);
    bindSprite(-1, -1, false);
}

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
    const double end = getTimerAll() + fadeMs;
    // Additive blending on a cleared frame shows old x f + new x (1 - f).
    for (double f = 0.9; f > 0 && f < 1; f = (end - getTimerAll()) / fadeMs) {
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
