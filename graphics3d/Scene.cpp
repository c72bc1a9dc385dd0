// Entering and leaving 3D inside the 2D frame, the camera, culling, the texturing of drawn
// objects, and what the frame loop and setViewport ask of the scene.
#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include "graphics2d/Graphics2D.h"
#include "graphics2d/TextureBinding.h"
#include "graphics3d/Graphics3D.h"
#include "graphics3d/Kestrel3D.h"
#include "graphics3d/Scene3D.h"
#include "graphics3d/Transforms.h"
#include "tarvoke/graphics2d.h"
#include "tarvoke/graphics3d.h"

namespace tarvoke {
namespace {

constexpr double degreesToRadians = 3.14159265358979323846 / 180.0;
constexpr float widestFieldOfView = 89.0f;  // degrees; the culling tangent's limit
constexpr int lightCount = 8;

Matrix4 currentMatrix(GLenum which) {
    Matrix4 matrix;
    glGetFloatv(which, matrix.m.data());
    return matrix;
}

// The frustum planes in the scene's coordinates, from GL's projection and model-view.
void takeFrustumPlanes(SceneState& scene) {
    scene.frustum = frustumPlanes(currentMatrix(GL_PROJECTION_MATRIX) * currentMatrix(GL_MODELVIEW_MATRIX));
}

int screenHeight() {
    NumValue width = 0, height = 0;
    getScreenSize(width, height);
    return int(height);
}

// The projection for the 2D viewport's shape: a frustum for a positive field of view, else a
// box as wide as a frustum of the negated angle would be at 100 times the near distance.
void loadProjection(SceneState& scene, float nearPlane, float farPlane, float fieldOfView, const DrawingArea& area) {
    const double aspect = double(float(area.width) / float(area.height));
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (fieldOfView > 0.0f) {
        const double g = nearPlane * std::tan(fieldOfView / 2.0 * degreesToRadians);
        glFrustum(-aspect * g, aspect * g, -g, g, nearPlane, farPlane);
    } else {
        const double g = nearPlane * std::tan(-fieldOfView / 2.0 * degreesToRadians) * 100.0;
        glOrtho(-aspect * g, aspect * g, -g, g, nearPlane, farPlane);
        scene.cullingTangent = float(std::tan(widestFieldOfView * degreesToRadians));
    }
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void setFixedState3D() {
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.0f);
    setWhite();
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    const GLenum off[] = {GL_FOG, GL_LINE_SMOOTH, GL_POINT_SMOOTH, GL_POLYGON_SMOOTH, GL_STENCIL_TEST,
                          GL_POLYGON_OFFSET_LINE, GL_AUTO_NORMAL, GL_NORMALIZE, GL_LIGHTING};
    for (GLenum capability : off) glDisable(capability);
    // The light mask starts empty, so no light of an earlier scene may still shine.
    for (int light = 0; light < lightCount; ++light) glDisable(GLenum(GL_LIGHT0 + light));
    glShadeModel(GL_SMOOTH);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_DITHER);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_FALSE);
}

void resetSceneState(SceneState& scene) {
    scene.cameraModelView = Matrix4{};
    scene.lightMask = 0;
    scene.special.on = false;
    resetTransformStack(scene);
    scene.cullingMode = 0;
    applyCulling(0);
    scene.textureOffsetU = scene.textureOffsetV = 0.0f;
    scene.sphereMapping = false;
    scene.objectSprite = scene.secondObjectSprite = -1;
    bindObjectTextures(scene);
}

void leaveShadowPassHook() {
    if (kestrel3D && kestrel3D->scene.shadowPass) leaveShadowPass(kestrel3D->scene);
}

} // namespace

// ---------------------------------------------------------------- shared helpers

void applyCulling(int mode) {
    if (mode == 0) {
        glDisable(GL_CULL_FACE);
        return;
    }
    glFrontFace(mode > 0 ? GL_CW : GL_CCW);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
}

void bindObjectTextures(const SceneState& scene) {
    bindSprite(scene.objectSprite, scene.secondObjectSprite, scene.objectMipmapping);
}

void setWhite() { glColor4f(1.0f, 1.0f, 1.0f, globalAlpha2D()); }

std::uint32_t colourBits(NumValue colour) {
    if (colour >= 2147483648.0 && colour < 4294967296.0) return std::uint32_t(colour);
    return std::uint32_t(toInt(colour));
}

void setColour(std::uint32_t colour, float alpha) {
    glColor4f(float(colour & 0xFF) / 255.0f, float((colour >> 8) & 0xFF) / 255.0f, float((colour >> 16) & 0xFF) / 255.0f,
              alpha);
}

CapabilityGuard::CapabilityGuard(GLenum capability, bool wanted)
    : capability_(capability), wasOn_(glIsEnabled(capability) == GL_TRUE) {
    if (wanted)
        glEnable(capability);
    else
        glDisable(capability);
}

CapabilityGuard::~CapabilityGuard() {
    if (wasOn_)
        glEnable(capability_);
    else
        glDisable(capability_);
}

// ---------------------------------------------------------------- lifecycle hooks

void leaveShadowPass3D() { leaveShadowPassHook(); }

void resetFrame3D() {
    setShader(-1);
    if (kestrel3D) kestrel3D->scene.objectMipmapping = false;
}

void registerViewportHook3D(bool registered) { setViewportChangeHook(registered ? leaveShadowPassHook : nullptr); }

// ---------------------------------------------------------------- commands

void begin3D(NumValue nearPlane, NumValue farPlane, NumValue fieldOfView) {
    if (!kestrel3D || !hasMainWindow()) return;
    SceneState& scene = kestrel3D->scene;
    glClear(GL_DEPTH_BUFFER_BIT);
    if (scene.shadowPass) leaveShadowPass(scene);
    const float fov = float(fieldOfView);
    scene.cullingTangent = float(std::tan(std::min(fov + 5.0f, widestFieldOfView) * degreesToRadians));
    scene.nearPlane = float(nearPlane);
    scene.farPlane = float(farPlane);
    scene.cameraUp = {0.0f, 1.0f, 0.0f};
    const DrawingArea area = viewport2D();
    glViewport(area.x, screenHeight() - area.height - area.y, area.width, area.height);
    loadProjection(scene, scene.nearPlane, scene.farPlane, fov, area);
    setFixedState3D();
    resetSceneState(scene);
    // Planes of an earlier camera would cull objects of this scene that no camera has placed.
    takeFrustumPlanes(scene);
}

// setViewport closes the shadow pass first (through the hook) and then resets the 2D state.
void end3D() {
    if (kestrel3D && hasMainWindow()) setViewport(0, 0, 0, 0);
}

void setCamera(NumValue x, NumValue y, NumValue z, NumValue targetX, NumValue targetY, NumValue targetZ) {
    if (!kestrel3D) return;
    SceneState& scene = kestrel3D->scene;
    scene.cameraPosition = {float(x), float(y), float(z)};
    scene.cameraTarget = {float(targetX), float(targetY), float(targetZ)};
    const Matrix4 view = lookAtMatrix(scene.cameraPosition, scene.cameraTarget, scene.cameraUp);
    resetTransformStack(scene);
    scene.cameraModelView = view;
    if (!hasMainWindow()) return;
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(view.data());
    takeFrustumPlanes(scene);
}

void setCameraUp(NumValue x, NumValue y, NumValue z) {
    if (kestrel3D) kestrel3D->scene.cameraUp = {float(x), float(y), float(z)};
}

void setCulling(NumValue mode) {
    if (!kestrel3D) return;
    const int sign = mode > 0 ? 1 : mode < 0 ? -1 : 0;
    kestrel3D->scene.cullingMode = sign;
    if (hasMainWindow()) applyCulling(sign);
}

void setTextureOffset(NumValue u, NumValue v) {
    if (!kestrel3D) return;
    kestrel3D->scene.textureOffsetU = float(u);
    kestrel3D->scene.textureOffsetV = float(v);
}

void setSphereMapping(NumValue flag) {
    if (kestrel3D) kestrel3D->scene.sphereMapping = isSet(flag);
}

void setObjectTexture(NumValue id, NumValue secondId) {
    if (!kestrel3D) return;
    SceneState& scene = kestrel3D->scene;
    scene.objectSprite = toInt(id);
    scene.secondObjectSprite = toInt(secondId);
    if (hasMainWindow()) bindObjectTextures(scene);
}

void setObjectMipmapping(NumValue flag) {
    if (kestrel3D) kestrel3D->scene.objectMipmapping = isSet(flag);
}

void setPreparationLevel(NumValue level) {
    if (kestrel3D) kestrel3D->scene.preparationLevel = toInt(level) % 3;
}

void clearDepth() {
    if (hasMainWindow()) glClear(GL_DEPTH_BUFFER_BIT);
}

} // namespace tarvoke
