// The transform stack: 16 levels, each a translation, a scale, up to 16 rotations and up to 16
// matrices of the game's own on top of its parent's matrix. Additions past a level's room and
// pushes past the last level are ignored, never written past the arrays.
#include "graphics3d/Transforms.h"
#include "graphics3d/Kestrel3D.h"
#include "tarvoke/arrays.h"
#include "tarvoke/graphics3d.h"

namespace tarvoke {
namespace {

const Matrix4 identityMatrix;

// A level with nothing added, on top of `base`.
void clearLevel(TransformLevel& level, const Matrix4& base) {
    level.matrixCount = 0;
    level.rotationCount = 0;
    level.scale = {1.0f, 1.0f, 1.0f};
    level.translation = {};
    level.matrix = base;
    level.computed = true;
    level.placementUsed = true;
}

const Matrix4& parentMatrix(const SceneState& scene) {
    return scene.depth > 0 ? scene.levels[std::size_t(scene.depth - 1)].matrix : identityMatrix;
}

// translateTransform and scaleTransform start the level again from its parent's matrix.
TransformLevel& restartCurrentLevel(SceneState& scene) {
    TransformLevel& level = scene.currentLevel();
    level.matrix = parentMatrix(scene);
    level.matrixCount = 0;
    level.rotationCount = 0;
    level.placementUsed = false;
    level.computed = false;
    return level;
}

Vector3 vectorOf(NumValue x, NumValue y, NumValue z) { return {float(x), float(y), float(z)}; }

} // namespace

void resetTransformStack(SceneState& scene) {
    scene.depth = 0;
    clearLevel(scene.levels[0], identityMatrix);
}

const Matrix4& currentModelMatrix(SceneState& scene) {
    TransformLevel& level = scene.currentLevel();
    if (level.computed) return level.matrix;
    Matrix4 result = level.matrix;
    for (int i = 0; i < level.matrixCount; ++i) result = result * level.matrices[std::size_t(i)];
    if (!level.placementUsed) result = result * translationMatrix(level.translation);
    for (int i = level.rotationCount - 1; i >= 0; --i) {
        const Rotation& turn = level.rotations[std::size_t(i)];
        Matrix4 rotation;
        if (rotationMatrix(turn.degrees, turn.axis, rotation)) result = result * rotation;
    }
    if (!level.placementUsed) result = result * scalingMatrix(level.scale);
    level.matrix = result;
    level.matrixCount = 0;
    level.rotationCount = 0;
    level.placementUsed = true;
    level.computed = true;
    return level.matrix;
}

const Matrix4& currentModelMatrix() {
    return kestrel3D ? currentModelMatrix(kestrel3D->scene) : identityMatrix;
}

void translateTransform(NumValue x, NumValue y, NumValue z) {
    if (kestrel3D) restartCurrentLevel(kestrel3D->scene).translation = vectorOf(x, y, z);
}

void scaleTransform(NumValue x, NumValue y, NumValue z) {
    if (kestrel3D) restartCurrentLevel(kestrel3D->scene).scale = vectorOf(x, y, z);
}

void rotateTransform(NumValue degrees, NumValue axisX, NumValue axisY, NumValue axisZ) {
    if (!kestrel3D) return;
    TransformLevel& level = kestrel3D->scene.currentLevel();
    if (level.rotationCount >= rotationsPerLevel) return;
    level.rotations[std::size_t(level.rotationCount++)] = {float(degrees), vectorOf(axisX, axisY, axisZ)};
    level.computed = false;
}

void multiplyTransform(const NumArray& matrix) {
    const ArrayShape& shape = matrix.shape();
    if (shape.dimensions != 1 || shape.size1 != 16) arrayIndexError();
    if (!kestrel3D) return;
    TransformLevel& level = kestrel3D->scene.currentLevel();
    if (level.matrixCount >= matricesPerLevel) return;
    Matrix4& added = level.matrices[std::size_t(level.matrixCount++)];
    for (int i = 0; i < 16; ++i) added.m[std::size_t(i)] = float(matrix(i));
    level.computed = false;
}

void pushTransform() {
    if (!kestrel3D) return;
    SceneState& scene = kestrel3D->scene;
    const Matrix4 parent = currentModelMatrix(scene);
    if (scene.depth + 1 >= transformLevelCount) return;
    ++scene.depth;
    clearLevel(scene.currentLevel(), parent);
}

void popTransform() {
    if (!kestrel3D) return;
    SceneState& scene = kestrel3D->scene;
    if (scene.depth > 0)
        --scene.depth;
    else
        clearLevel(scene.levels[0], identityMatrix);
}

} // namespace tarvoke
