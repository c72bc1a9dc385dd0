// The fixed OpenGL state under which all 2D drawing happens.
#include <GL/gl.h>
#include "graphics2d/OpenGLKestrel.h"

namespace tarvoke {
namespace {

void disableUnused2DState() {
    const GLenum unused[] = {GL_DITHER, GL_FOG, GL_LINE_SMOOTH, GL_POINT_SMOOTH, GL_POLYGON_SMOOTH,
                             GL_STENCIL_TEST, GL_POLYGON_OFFSET_FILL, GL_COLOR_MATERIAL,
                             GL_AUTO_NORMAL, GL_NORMALIZE, GL_LIGHTING};
    for (GLenum capability : unused) glDisable(capability);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_FASTEST);
}

} // namespace

void resetState2D(int x, int y, int width, int height) {
    OpenGLKestrel* kestrel = openGLKestrel;
    if (!kestrel || !kestrel->main.window) return;
    const int screenHeight = kestrel->main.screenHeight;
    if (width <= 0 || height <= 0) {
        width = kestrel->main.screenWidth;
        height = screenHeight;
    }
    kestrel->viewport = {x, y, width, height};
    glViewport(x, screenHeight - height - y, width, height);

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, height, 0, -1, 1);  // y grows downward, one unit is one pixel
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    glEnable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.05f);

    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glShadeModel(GL_FLAT);
    disableUnused2DState();
    kestrel->smoothing = true;
}

} // namespace tarvoke
