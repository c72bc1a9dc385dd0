// Untextured primitives: points (and, with them, rectangles and lines) in the sprite colour
// rules: the colour key draws with alpha 0.
#include <GL/gl.h>
#include "graphics2d/Drawing.h"
#include "graphics2d/OpenGLKestrel.h"
#include "tarvoke/graphics2d.h"

namespace tarvoke {

void setPixel(NumValue x, NumValue y, NumValue colour) {
    if (!openGLKestrel) return;
    drawPrimitive(toInt(colour), [&] {
        glBegin(GL_POINTS);
        glVertex2f(float(x), float(y));
        glEnd();
    });
}

} // namespace tarvoke
