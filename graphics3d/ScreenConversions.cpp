// Scene points to screen pixels and back, through the viewport, model-view and projection that
// GL holds at the moment of the call. Screen coordinates are the 2D drawing's: x to the right,
// y down from the top of the screen, continuous (a pixel's centre is at +0.5). Depth runs from
// 0 at the near plane to 1 at the far plane, as the depth buffer holds it. The two commands
// undo each other exactly, so a point projected and taken back stays where it was. Nothing is
// written when a point cannot be converted (it lies in the camera's plane, a number is not
// finite) or when there is no window.
#include <GL/gl.h>
#include <cmath>
#include "graphics2d/Graphics2D.h"
#include "graphics3d/Matrix4.h"
#include "tarvoke/graphics2d.h"
#include "tarvoke/graphics3d.h"

namespace tarvoke {
namespace {

struct View {
    float x = 0, y = 0, width = 0, height = 0;  // GL's viewport, y from the bottom
    Matrix4 clip;                               // projection x model-view
    float screenHeight = 0;
};

bool readView(View& view) {
    if (!hasMainWindow()) return false;
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    Matrix4 projection, modelView;
    glGetFloatv(GL_PROJECTION_MATRIX, projection.m.data());
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView.m.data());
    NumValue width = 0, height = 0;
    getScreenSize(width, height);
    view = {float(viewport[0]), float(viewport[1]), float(viewport[2]), float(viewport[3]), projection * modelView,
            float(height)};
    return view.width > 0 && view.height > 0;
}

bool allFinite(float a, float b, float c) { return std::isfinite(a) && std::isfinite(b) && std::isfinite(c); }

} // namespace

void projectToScreen(NumValue x, NumValue y, NumValue z, NumValue& screenX, NumValue& screenY, NumValue& depth) {
    View view;
    if (!allFinite(float(x), float(y), float(z)) || !readView(view)) return;
    const Vector4 clip = view.clip * Vector4{float(x), float(y), float(z), 1.0f};
    if (clip.w == 0.0f) return;
    const float nx = clip.x / clip.w, ny = clip.y / clip.w, nz = clip.z / clip.w;
    const float outX = view.x + (nx + 1.0f) * view.width / 2.0f;
    // Top-down against the whole screen, so a viewport that is not the full screen still lands
    // on its own pixels.
    const float outY = view.screenHeight - (view.y + view.height * (ny + 1.0f) / 2.0f);
    const float outDepth = (nz + 1.0f) / 2.0f;
    if (!allFinite(outX, outY, outDepth)) return;
    screenX = outX;
    screenY = outY;
    depth = outDepth;
}

void unprojectFromScreen(NumValue screenX, NumValue screenY, NumValue depth, NumValue& x, NumValue& y, NumValue& z) {
    View view;
    if (!allFinite(float(screenX), float(screenY), float(depth)) || !readView(view)) return;
    Matrix4 inverse;
    if (!invert(view.clip, inverse)) return;
    const float fromBottom = view.screenHeight - float(screenY);
    const Vector4 device{(float(screenX) - view.x) * 2.0f / view.width - 1.0f,
                         (fromBottom - view.y) * 2.0f / view.height - 1.0f, float(depth) * 2.0f - 1.0f, 1.0f};
    const Vector4 point = inverse * device;
    if (point.w == 0.0f) return;
    const float outX = point.x / point.w, outY = point.y / point.w, outZ = point.z / point.w;
    if (!allFinite(outX, outY, outZ)) return;
    x = outX;
    y = outY;
    z = outZ;
}

} // namespace tarvoke
