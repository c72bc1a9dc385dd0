// Collision tests of one frame of one mesh, as the mesh stands under a model matrix: a sphere,
// an upright box or a ray (a line, really: hits behind the origin count separately). The shapes
// are given in the scene's coordinates and the triangles are carried into them, so scaled and
// sheared objects collide as they are drawn. Each test has two searches with the same answers:
// the plain one over every triangle, and one through the frame's TriangleTree.
#pragma once
#include "graphics3d/Matrix4.h"
#include "graphics3d/MeshObjectX.h"

namespace tarvoke {

// Where a mesh stands in the scene.
struct Placement {
    Matrix4 model;            // object to scene
    Matrix4 inverse;          // scene to object; meaningful when `invertible`
    bool identity = true;
    bool invertible = true;   // an affine matrix with an inverse: the tree can be searched
    float stretch = 1.0f;     // no object-space length grows by more than this in the scene
    float shrink = 1.0f;      // nor a scene length by more than this in the object's space
};
Placement placementOf(const Matrix4& model);

enum class Search { Linear, Tree };
// The search the commands use: the tree for frames of many triangles.
Search searchFor(const Frame& frame);

// The frame exists and holds at least one triangle.
bool isTestableFrame(const MeshObject& mesh, int frame);

// The frame's tree, built when it is missing.
const TriangleTree& treeOf(MeshObjectX& mesh, int frame);

// The frames below are testable (isTestableFrame); the shapes finite, radius and sizes above 0.
bool sphereTouchesFrame(MeshObjectX& mesh, int frame, const Placement& placement, Vector3 centre, float radius,
                        Search search);
// An upright box: `half` is half its width (x and z) and half its height (y).
bool boxTouchesFrame(MeshObjectX& mesh, int frame, const Placement& placement, Vector3 centre, Vector3 half,
                     Search search);

// The nearest hits on each side of a ray's origin, gathered over triangles and meshes.
struct RayHits {
    float ahead = 0.0f;   // the smallest positive distance; 0: none
    float behind = 0.0f;  // the negative distance closest to 0; 0: none
    void add(float distance);
    // The hit ahead when there is one, else the one behind, else 0.
    float nearest() const { return ahead > 0.0f ? ahead : behind; }
};
// `direction` has length 1.
void rayMeetsFrame(MeshObjectX& mesh, int frame, const Placement& placement, Vector3 origin, Vector3 direction,
                   Search search, RayHits& hits);

} // namespace tarvoke
