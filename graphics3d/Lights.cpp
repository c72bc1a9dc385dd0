// Lights and fog: GL's eight lights placed in the model-view of the moment (the camera's, after
// setCamera), the special light of the lighting modes, and linear or exponential fog.
#include <GL/gl.h>
#include "graphics2d/Graphics2D.h"
#include "graphics3d/Kestrel3D.h"
#include "graphics3d/Scene3D.h"
#include "tarvoke/core.h"
#include "tarvoke/graphics3d.h"

namespace tarvoke {
namespace {

constexpr float directionalCutoff = 180.0f;
constexpr float widestSpotCutoff = 90.0f;
constexpr std::uint32_t lightMarkColour = 0x80C8FF;
constexpr std::uint32_t spotMarkColour = 0x6CAAE1;
constexpr float spotMarkLength = 500.0f;

struct LightColour {
    float rgba[4];
};

LightColour lightColour(std::uint32_t colour) {
    return {{float(colour & 0xFF) / 255.0f, float((colour >> 8) & 0xFF) / 255.0f, float((colour >> 16) & 0xFF) / 255.0f, 1.0f}};
}

void defineSpecialLight(SceneState& scene, int index, std::uint32_t colour, Vector3 position, float cutoff) {
    SpecialLight& light = scene.special;
    light.on = cutoff != 0.0f;
    light.position = position;
    const LightColour rgb = lightColour(colour);
    light.red = rgb.rgba[0];
    light.green = rgb.rgba[1];
    light.blue = rgb.rgba[2];
    light.mode = index == -1 ? SpecialMode::NormalMap : index == -3 ? SpecialMode::ShadowVolumes : SpecialMode::CelShading;
    if (light.mode == SpecialMode::ShadowVolumes && light.on && !scene.shadowPass && hasMainWindow())
        enterShadowPass(scene);
}

void switchLightOff(SceneState& scene, int light) {
    glDisable(GLenum(GL_LIGHT0 + light));
    scene.lightMask &= ~(1u << light);
    if (scene.lightMask == 0) glDisable(GL_LIGHTING);
}

bool isDirectional(Vector3 position, Vector3 direction, float cutoff) {
    return (dot(position, position) == 0.0f && dot(direction, direction) == 0.0f) || cutoff == directionalCutoff;
}

// Places light `light` in the current model-view: directional (all zero: along +z), a spot
// light for cutoffs up to 90 degrees, else a point light shining everywhere.
void placeLight(int light, const LightColour& colour, Vector3 position, Vector3 direction, float cutoff) {
    const GLenum name = GLenum(GL_LIGHT0 + light);
    const float black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    glLightfv(name, GL_DIFFUSE, colour.rgba);
    if (isDirectional(position, direction, cutoff)) {
        const bool allZero = dot(position, position) == 0.0f && dot(direction, direction) == 0.0f;
        const Vector3 towards = allZero ? Vector3{0.0f, 0.0f, 1.0f} : normalised(direction * -1.0f);
        const float place[4] = {towards.x, towards.y, towards.z, 0.0f};
        glLightfv(name, GL_POSITION, place);
        glLightfv(name, GL_SPECULAR, black);
        glLightf(name, GL_SPOT_CUTOFF, directionalCutoff);
        return;
    }
    const float place[4] = {position.x, position.y, position.z, 1.0f};
    glLightfv(name, GL_POSITION, place);
    glLightfv(name, GL_SPECULAR, colour.rgba);
    if (cutoff <= widestSpotCutoff) {
        const Vector3 aim = normalised(direction);
        const float spotDirection[3] = {aim.x, aim.y, aim.z};
        glLightfv(name, GL_SPOT_DIRECTION, spotDirection);
        glLightf(name, GL_SPOT_CUTOFF, cutoff);
    } else {
        glLightf(name, GL_SPOT_CUTOFF, directionalCutoff);
    }
}

void defineLight(SceneState& scene, int index, std::uint32_t colour, Vector3 position, Vector3 direction, float cutoff,
                 bool showMarks) {
    const int light = index & 7;
    if (cutoff == 0.0f) {
        switchLightOff(scene, light);
        return;
    }
    glEnable(GL_LIGHTING);
    glEnable(GLenum(GL_LIGHT0 + light));
    scene.lightMask |= 1u << light;
    glColorMaterial(GL_FRONT_AND_BACK, GL_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    placeLight(light, lightColour(colour), position, direction, cutoff);
    glPopMatrix();
    const bool isSpot = !isDirectional(position, direction, cutoff) && cutoff <= widestSpotCutoff;
    if (!showMarks || !projectSettings.debugMode || dot(position, position) + dot(direction, direction) == 0.0f) return;
    drawPoint3D(position.x, position.y, position.z, 40, lightMarkColour);
    if (isSpot) {
        const Vector3 end = position + normalised(direction) * spotMarkLength;
        drawLine3D(position.x, position.y, position.z, end.x, end.y, end.z, 3, spotMarkColour);
    }
}

} // namespace

void setLight(NumValue index, NumValue colour, NumValue x, NumValue y, NumValue z, NumValue directionX,
              NumValue directionY, NumValue directionZ, NumValue cutoff) {
    if (!kestrel3D) return;
    SceneState& scene = kestrel3D->scene;
    const int number = toInt(index);
    const Vector3 position{float(x), float(y), float(z)};
    if (number < 0) {
        defineSpecialLight(scene, number, colourBits(colour), position, float(cutoff));
        return;
    }
    if (!hasMainWindow()) return;
    defineLight(scene, number, colourBits(colour), position, {float(directionX), float(directionY), float(directionZ)},
                float(cutoff), true);
}

void setCameraLight(NumValue index, NumValue colour) {
    if (!kestrel3D || !hasMainWindow()) return;
    SceneState& scene = kestrel3D->scene;
    const int number = toInt(index);
    if (number < 0) {
        defineSpecialLight(scene, number, colourBits(colour), scene.cameraPosition, directionalCutoff);
        return;
    }
    defineLight(scene, number, colourBits(colour), scene.cameraPosition, scene.cameraPosition * -1.0f,
                directionalCutoff, false);
}

void setFog(NumValue colour, NumValue mode, NumValue start, NumValue end) {
    if (!kestrel3D || !hasMainWindow()) return;
    const std::uint32_t bits = colourBits(colour);
    if (bits == 0xFFFFFFFF) {
        glDisable(GL_FOG);
        return;
    }
    glEnable(GL_FOG);
    if (isSet(mode)) {
        glFogi(GL_FOG_MODE, GL_EXP);
        glFogf(GL_FOG_DENSITY, float(start));
    } else {
        const SceneState& scene = kestrel3D->scene;
        const bool planes = start == 0 && end == 0;
        glFogi(GL_FOG_MODE, GL_LINEAR);
        glFogf(GL_FOG_START, planes ? scene.nearPlane : float(start));
        glFogf(GL_FOG_END, planes ? scene.farPlane : float(end));
    }
    const LightColour rgb = lightColour(bits);
    const float fogColour[4] = {rgb.rgba[0], rgb.rgba[1], rgb.rgba[2], 0.0f};
    glFogfv(GL_FOG_COLOR, fogColour);
}

} // namespace tarvoke
