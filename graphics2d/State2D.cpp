// The fixed OpenGL state under which all 2D drawing happens.
#include <GL/gl.h>
#include <cmath>
#include "graphics2d/Graphics2D.h"
#include "graphics2d/OpenGLKestrel.h"
#include "tarvoke/graphics2d.h"

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

namespace tarvoke {
namespace {

ViewportChangeHook viewportChangeHook = nullptr;

} // namespace

void setViewportChangeHook(ViewportChangeHook hook) { viewportChangeHook = hook; }

DrawingArea viewport2D() {
    if (!openGLKestrel) return {};
    const Viewport& area = openGLKestrel->viewport;
    return {area.x, area.y, area.width, area.height};
}

float globalAlpha2D() { return openGLKestrel ? openGLKestrel->globalAlpha : 1.0f; }

SpriteGeometry spriteGeometry(int id) {
    if (!openGLKestrel || !SpriteStore::isValidId(id)) return {};
    const SpriteSlot& slot = openGLKestrel->sprites.slot(id);
    if (slot.isEmpty()) return {};
    return {slot.width, slot.height, slot.textureWidth, slot.textureHeight};
}

void setViewport(NumValue x, NumValue y, NumValue width, NumValue height) {
    if (viewportChangeHook) viewportChangeHook();
    resetState2D(toInt(x), toInt(y), toInt(width), toInt(height));
}

void getScreenSize(NumValue& width, NumValue& height) {
    width = openGLKestrel ? openGLKestrel->main.screenWidth : 0;
    height = openGLKestrel ? openGLKestrel->main.screenHeight : 0;
}

void setAlphaMode(NumValue alpha) {
    OpenGLKestrel* kestrel = openGLKestrel;
    if (!kestrel) return;
    const float a = float(alpha);
    if (a != 0) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, a > 0 ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA);
    } else {
        glDisable(GL_BLEND);
    }
    // The sign chose the blend function; the size is the opacity (a NaN counts as full).
    const float strength = std::fabs(a);
    kestrel->globalAlpha = (a == 0 || !(strength <= 1.0f)) ? 1.0f : strength;
    glColor4f(1.0f, 1.0f, 1.0f, kestrel->globalAlpha);
}

void setSmoothing(NumValue flag) {
    if (openGLKestrel) openGLKestrel->smoothing = isSet(flag);
}

} // namespace tarvoke
