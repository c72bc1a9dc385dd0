// Sprites and animation frames as single quads in immediate mode. The geometry (which corner
// goes where, the rounding of positions, the texture coordinates) decides which pixels a
// sprite covers; pictures are stored upside down, so t = 0 is a picture's bottom row.
#include <GL/gl.h>
#include <cmath>
#include "graphics2d/TextureBinding.h"
#include "graphics2d/OpenGLKestrel.h"
#include "tarvoke/graphics2d.h"

namespace tarvoke {
namespace {

// The sizes drawing needs, as floats.
struct SpriteGeometry {
    float width, height;                  // W, H
    float textureWidth, textureHeight;    // TW, TH
    float frameWidth, frameHeight;        // FW, FH
    int framesPerRow;                     // W div FW; 0 when the strip is narrower than a frame
    float right() const { return width / textureWidth; }    // s of the picture's right edge
    float top() const { return height / textureHeight; }    // t of the picture's top edge
};

// Binds the sprite for drawing and gives its sizes; false for an id outside the table.
bool bindForDrawing(NumValue id, SpriteGeometry& geometry) {
    const int slotId = toInt(id);
    if (!openGLKestrel || !SpriteStore::isValidId(slotId)) return false;
    SpriteSlot& slot = openGLKestrel->sprites.slot(slotId);
    bindSprite(slotId, -1, false);
    slot.texture.applyFilter(openGLKestrel->smoothing ? GL_LINEAR : GL_NEAREST);
    geometry = {float(slot.width), float(slot.height), float(slot.textureWidth), float(slot.textureHeight),
                float(slot.frameWidth), float(slot.frameHeight),
                slot.frameWidth > 0 ? slot.width / slot.frameWidth : 0};
    return true;
}

struct TexturedVertex {
    float x, y, s, t;
};

void drawQuad(const TexturedVertex (&corners)[4]) {
    glBegin(GL_QUADS);
    for (const TexturedVertex& corner : corners) {
        glTexCoord2f(corner.s, corner.t);
        glVertex2f(corner.x, corner.y);
    }
    glEnd();
}

// The texture rectangle of one frame of a strip: left, right, bottom and top edges.
struct FrameEdges {
    float left, right, bottom, top;
};

// False when nothing of the strip can be drawn: no frame size, or a strip narrower or lower than
// one frame.
bool frameEdges(const SpriteGeometry& geometry, int frame, FrameEdges& edges) {
    if (geometry.frameWidth == 0 || geometry.frameHeight == 0 || geometry.framesPerRow <= 0 ||
        geometry.height < geometry.frameHeight)
        return false;
    const int column = frame % geometry.framesPerRow;
    const int row = frame / geometry.framesPerRow;
    const float frameS = geometry.frameWidth / geometry.textureWidth;
    edges.left = frameS * float(column);
    edges.right = frameS * float(column + 1);
    edges.bottom = (geometry.height - geometry.frameHeight * float(row + 1)) / geometry.textureHeight;
    edges.top = edges.bottom + geometry.frameHeight / geometry.textureHeight;
    return true;
}

// A quad whose winding flips with a mirrored side is drawn with the other front face, so face
// culling keeps it.
void drawStretched(float x, float y, float width, float height, float right, float top) {
    const bool mirrored = (width < 0) != (height < 0);
    if (mirrored) glFrontFace(GL_CW);
    drawQuad({{x, y + height, 0, 0}, {x + width, y + height, right, 0}, {x + width, y, right, top}, {x, y, 0, top}});
    if (mirrored) glFrontFace(GL_CCW);
}

} // namespace

void drawSprite(NumValue id, NumValue x, NumValue y) {
    SpriteGeometry g;
    if (!bindForDrawing(id, g)) return;
    const float left = std::ceil(float(x)), top = std::ceil(float(y));
    drawQuad({{left + g.width, top, g.right(), g.top()},
              {left, top, 0, g.top()},
              {left, top + g.height, 0, 0},
              {left + g.width, top + g.height, g.right(), 0}});
}

void stretchSprite(NumValue id, NumValue x, NumValue y, NumValue width, NumValue height) {
    SpriteGeometry g;
    if (!bindForDrawing(id, g)) return;
    drawStretched(std::ceil(float(x)), std::ceil(float(y)), std::ceil(float(width)), std::ceil(float(height)),
                  g.right(), g.top());
}

void zoomSprite(NumValue id, NumValue x, NumValue y, NumValue zoomX, NumValue zoomY) {
    if (!openGLKestrel || !SpriteStore::isValidId(toInt(id))) return;
    const SpriteSlot& slot = openGLKestrel->sprites.slot(toInt(id));
    const float width = float(zoomX) * slot.width, height = float(zoomY) * slot.height;
    stretchSprite(id, float(x) - (width - slot.width) / 2, float(y) - (height - slot.height) / 2, width, height);
}

void rotoZoomSprite(NumValue id, NumValue x, NumValue y, NumValue angle, NumValue zoom) {
    SpriteGeometry g;
    if (!bindForDrawing(id, g)) return;
    const SpriteSlot& slot = openGLKestrel->sprites.slot(toInt(id));
    glPushMatrix();
    glTranslatef(float(x) + float(slot.width / 2), float(y) + float(slot.height / 2), 0);
    glRotatef(float(angle), 0, 0, -1);
    const float halfWidth = float(zoom) * g.width / 2, halfHeight = float(zoom) * g.height / 2;
    // Inset by half a texel so that filtering never reaches the texels outside the picture.
    const float left = 0.5f / g.textureWidth, right = (g.width - 0.5f) / g.textureWidth;
    const float bottom = 0.5f / g.textureHeight, top = (g.height - 0.5f) / g.textureHeight;
    drawQuad({{-halfWidth, halfHeight, left, bottom},
              {halfWidth, halfHeight, right, bottom},
              {halfWidth, -halfHeight, right, top},
              {-halfWidth, -halfHeight, left, top}});
    glPopMatrix();
}

void rotateSprite(NumValue id, NumValue x, NumValue y, NumValue angle) { rotoZoomSprite(id, x, y, angle, 1); }

void drawAnim(NumValue id, NumValue frame, NumValue x, NumValue y) {
    SpriteGeometry g;
    FrameEdges f;
    if (!bindForDrawing(id, g) || !frameEdges(g, toInt(frame), f)) return;
    const float left = std::ceil(float(x)), top = std::ceil(float(y));
    drawQuad({{left + g.frameWidth, top, f.right, f.top},
              {left, top, f.left, f.top},
              {left, top + g.frameHeight, f.left, f.bottom},
              {left + g.frameWidth, top + g.frameHeight, f.right, f.bottom}});
}

void stretchAnim(NumValue id, NumValue frame, NumValue x, NumValue y, NumValue width, NumValue height) {
    SpriteGeometry g;
    FrameEdges f;
    if (!bindForDrawing(id, g) || !frameEdges(g, toInt(frame), f)) return;
    const float left = std::ceil(float(x)), top = std::ceil(float(y));
    // The far edges reach a tenth of a pixel further, so a stretch by a whole factor closes up.
    const float right = left + std::ceil(float(width)) + 0.1f, bottom = top + std::ceil(float(height)) + 0.1f;
    drawQuad({{left, top, f.left, f.top}, {left, bottom, f.left, f.bottom}, {right, bottom, f.right, f.bottom}, {right, top, f.right, f.top}});
}

void rotoZoomAnim(NumValue id, NumValue frame, NumValue x, NumValue y, NumValue angle, NumValue zoom) {
    SpriteGeometry g;
    FrameEdges f;
    if (!bindForDrawing(id, g) || !frameEdges(g, toInt(frame), f)) return;
    const SpriteSlot& slot = openGLKestrel->sprites.slot(toInt(id));
    const double radians = angle * 0.017453292;
    const float sine = float(std::sin(radians)), cosine = float(std::cos(radians));
    const float centreX = float(slot.frameWidth / 2) + float(x), centreY = float(slot.frameHeight / 2) + float(y);
    const float halfWidth = g.frameWidth * float(zoom) * 0.5f, halfHeight = g.frameHeight * float(zoom) * 0.5f;
    // Corners are turned here, not by the GL matrix, and rounded up to whole pixels.
    auto corner = [&](float dx, float dy, float s, float t) {
        return TexturedVertex{std::ceil(centreX + dx * cosine + dy * sine), std::ceil(centreY - dx * sine + dy * cosine), s, t};
    };
    drawQuad({corner(-halfWidth, -halfHeight, f.left, f.top), corner(-halfWidth, halfHeight, f.left, f.bottom),
              corner(halfWidth, halfHeight, f.right, f.bottom), corner(halfWidth, -halfHeight, f.right, f.top)});
}

} // namespace tarvoke
