// The 3D scene's state inside Kestrel3D: projection planes, camera, the transform stack, the
// lights' bookkeeping, the special lighting mode, the object texturing and the shadow pass.
// Plain data; the scene commands change it and the drawing code reads it.
#pragma once
#include <array>
#include <cstdint>
#include "graphics3d/Matrix4.h"
#include "graphics3d/Vector3.h"

namespace tarvoke {

constexpr int transformLevelCount = 16;  // levels 0..15
constexpr int rotationsPerLevel = 16;
constexpr int matricesPerLevel = 16;

struct Rotation {
    float degrees = 0.0f;
    Vector3 axis;
};

// One level of the transform stack. Its matrix is the parent's (the base) until the level is
// computed; computing folds in what was added since, after which the added parts count as used,
// so that later rotations and matrices apply on top of the computed matrix.
struct TransformLevel {
    int matrixCount = 0;                                      // user matrices not yet folded in
    int rotationCount = 0;                                    // rotations not yet folded in
    std::array<Rotation, rotationsPerLevel> rotations{};
    Vector3 scale{1.0f, 1.0f, 1.0f};
    Vector3 translation;
    std::array<Matrix4, matricesPerLevel> matrices{};
    Matrix4 matrix;                                           // the base before computing, the result after
    bool computed = true;
    bool placementUsed = true;  // translation and scale are already in `matrix`
};

enum class SpecialMode { NormalMap = 1, CelShading = 2, ShadowVolumes = 3 };

// The light of the special lighting modes, given by setLight with a negative index.
struct SpecialLight {
    bool on = false;
    SpecialMode mode = SpecialMode::CelShading;
    Vector3 position;                       // in the scene's coordinates
    float red = 0.0f, green = 0.0f, blue = 0.0f;
};

struct SceneState {
    // ---- projection and camera
    float nearPlane = 1.0f, farPlane = 1000.0f;
    float cullingTangent = 0.0f;           // tan of the widened field of view (outline widths)
    Vector3 cameraPosition, cameraTarget;
    Vector3 cameraUp{0.0f, 1.0f, 0.0f};    // used by the next setCamera
    Matrix4 cameraModelView;               // the model-view as the camera left it
    std::array<Plane, 6> frustum{};        // in the scene's coordinates

    // ---- transforms
    std::array<TransformLevel, transformLevelCount> levels{};
    int depth = 0;                         // the current level

    // ---- lights, culling and texturing of drawn objects
    std::uint32_t lightMask = 0;           // bit n: GL light n is on
    SpecialLight special;
    int cullingMode = 0;                   // 0 off, 1 clockwise front faces, -1 counter-clockwise
    bool shadowPass = false;               // drawing shadow volumes into the stencil buffer
    bool sphereMapping = false;
    float textureOffsetU = 0.0f, textureOffsetV = 0.0f;
    int objectSprite = -1;                 // -1: objects are drawn untextured
    int secondObjectSprite = -1;           // -1: none
    bool objectMipmapping = false;
    int preparationLevel = 2;              // 0..2: what endObject computes for built objects

    TransformLevel& currentLevel() { return levels[std::size_t(depth)]; }
};

} // namespace tarvoke
