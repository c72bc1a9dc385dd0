// Untextured primitives: rectangles, lines and points. The colour key draws with alpha 0, and
// the projection is shifted by 3/8 pixel so that integer coordinates hit pixel centres.
#include <GL/gl.h>
#include "graphics2d/Primitives.h"
#include "graphics2d/OpenGLKestrel.h"
#include "graphics2d/TextureBinding.h"
#include "tarvoke/graphics2d.h"

namespace tarvoke {

void beginPrimitive(std::int32_t colour) {
    const OpenGLKestrel& kestrel = *openGLKestrel;
    glDisable(GL_ALPHA_TEST);
    const std::uint32_t rgb = std::uint32_t(colour) & 0xFFFFFF;
    const bool isKey = std::int32_t(rgb) == kestrel.sprites.spriteColourKey;
    const GLubyte alpha = isKey ? 0 : GLubyte(int(kestrel.globalAlpha * 255.0f));
    glColor4ub(GLubyte(rgb), GLubyte(rgb >> 8), GLubyte(rgb >> 16), alpha);
    bindSprite(-1, -1, false);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glTranslatef(0.375f, 0.375f, 0.0f);
    glMatrixMode(GL_MODELVIEW);
}

void endPrimitive() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glColor4f(1.0f, 1.0f, 1.0f, openGLKestrel->globalAlpha);
    glEnable(GL_ALPHA_TEST);
}

void setPixel(NumValue x, NumValue y, NumValue colour) {
    if (!openGLKestrel) return;
    drawPrimitive(toInt(colour), [&] {
        glBegin(GL_POINTS);
        glVertex2f(float(x), float(y));
        glEnd();
    });
}

void drawRect(NumValue x, NumValue y, NumValue width, NumValue height, NumValue colour) {
    if (!openGLKestrel) return;
    float left = float(x), top = float(y), w = float(width), h = float(height);
    // A negative size reaches back from the position and includes its column or row.
    if (w < 0) {
        left += w + 1;
        w = -w;
    }
    if (h < 0) {
        top += h + 1;
        h = -h;
    }
    drawPrimitive(toInt(colour), [&] {
        glBegin(GL_QUADS);
        glVertex2f(left, top + h);
        glVertex2f(left + w, top + h);
        glVertex2f(left + w, top);
        glVertex2f(left, top);
        glEnd();
    });
}

void drawLine(NumValue x1, NumValue y1, NumValue x2, NumValue y2, NumValue colour) {
    if (!openGLKestrel) return;
    drawPrimitive(toInt(colour), [&] {
        glBegin(GL_LINES);
        glVertex2f(float(x1), float(y1));
        glVertex2f(float(x2), float(y2));
        glEnd();
        glBegin(GL_POINTS);  // a line leaves out its last pixel; the point puts it in
        glVertex2f(float(x2), float(y2));
        glEnd();
    });
}

} // namespace tarvoke
