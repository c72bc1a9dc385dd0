// The transform stack as graphics3d code uses it: resetting it, and the model matrix the current
// level gives the objects drawn (and tested for collisions) under it.
#pragma once
#include "graphics3d/Matrix4.h"
#include "graphics3d/SceneState.h"

namespace tarvoke {

// Depth 0, and level 0 back to the identity with nothing added.
void resetTransformStack(SceneState& scene);

// The current level's matrix, computed first when something was added to it:
// parent x U0 x U1 ... x translation x R(last) ... x R(first) x scale. This is the model matrix
// of an object drawn now: it takes the object's coordinates into the scene's.
const Matrix4& currentModelMatrix(SceneState& scene);
// The same for the engine's scene; the identity before start-up.
const Matrix4& currentModelMatrix();

} // namespace tarvoke
