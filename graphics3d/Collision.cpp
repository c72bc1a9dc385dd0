#include "graphics3d/Collision.h"
#include <algorithm>
#include <cmath>
#include <limits>
#include "graphics3d/TriangleTests.h"

namespace tarvoke {
namespace {

constexpr std::size_t smallestTreeFrame = 64;  // triangles; below this the plain search is as fast
// How far, as a share of its longest edge, from a triangle a sphere may still count as touching
// it: the angle sum admits points up to a few percent of the size off tiny triangles' planes.
constexpr float sphereReach = 0.25f;
constexpr float rounding = 1e-5f;  // float rounding, relative to the coordinates involved

Vector3 column(const Matrix4& m, int c) { return {m.at(0, c), m.at(1, c), m.at(2, c)}; }
Vector3 row(const Matrix4& m, int r) { return {m.at(r, 0), m.at(r, 1), m.at(r, 2)}; }

float frobenius(const Matrix4& m) {
    const Vector3 a = column(m, 0), b = column(m, 1), c = column(m, 2);
    return std::sqrt(dot(a, a) + dot(b, b) + dot(c, c));
}

// The largest factor by which the matrix lengthens a vector: exact for rotations with scaling
// along their axes, where the columns stay perpendicular; else a bound.
float largestStretch(const Matrix4& m) {
    const Vector3 a = column(m, 0), b = column(m, 1), c = column(m, 2);
    const float la = length(a), lb = length(b), lc = length(c);
    const float tolerance = 1e-6f;
    const bool perpendicular = std::fabs(dot(a, b)) <= tolerance * la * lb &&
                               std::fabs(dot(b, c)) <= tolerance * lb * lc && std::fabs(dot(c, a)) <= tolerance * lc * la;
    return perpendicular ? std::max({la, lb, lc}) : frobenius(m);
}

bool isAffine(const Matrix4& m) { return m.at(3, 0) == 0.0f && m.at(3, 1) == 0.0f && m.at(3, 2) == 0.0f && m.at(3, 3) == 1.0f; }

Vector3 toScene(const Placement& p, Vector3 point) { return p.identity ? point : transformPoint(p.model, point); }
Vector3 toObject(const Placement& p, Vector3 point) { return p.identity ? point : transformPoint(p.inverse, point); }
Vector3 directionToObject(const Placement& p, Vector3 v) {
    return p.identity ? v : Vector3{dot(row(p.inverse, 0), v), dot(row(p.inverse, 1), v), dot(row(p.inverse, 2), v)};
}

Triangle triangleAt(const Frame& frame, std::size_t t, const Placement& p) {
    return {toScene(p, frame.triangles[t * 3].position), toScene(p, frame.triangles[t * 3 + 1].position),
            toScene(p, frame.triangles[t * 3 + 2].position)};
}

// The frame's bounding sphere in the scene.
struct SceneSphere {
    Vector3 centre;
    float radius;
};
SceneSphere boundingSphere(const Frame& frame, const Placement& p) {
    return {toScene(p, frame.centre), frame.radius * p.stretch};
}

bool useTree(Search search, const Placement& p) { return search == Search::Tree && p.invertible; }

// How far float rounding may move a test's answer, in the scene's units, for a shape of that
// size at that position against the tree's triangles.
float roundingSlack(const TriangleTree& tree, const Placement& p, Vector3 position, float size) {
    const Bounds extent = tree.extent();
    return rounding * (length(position) + size + length(toScene(p, extent.low)) + length(toScene(p, extent.high)));
}

// Calls test(t) for every triangle of the frame until one says true.
template <typename Test>
bool anyTriangle(const Frame& frame, Test test) {
    const std::size_t count = frame.triangles.count() / 3;
    for (std::size_t t = 0; t < count; ++t)
        if (test(t)) return true;
    return false;
}

// The box in object space around a scene box (centre, half sizes) carried there.
Bounds objectBounds(const Placement& p, Vector3 centre, Vector3 half) {
    const Vector3 middle = toObject(p, centre);
    Vector3 reach = half;
    if (!p.identity) {
        const Vector3 r0 = row(p.inverse, 0), r1 = row(p.inverse, 1), r2 = row(p.inverse, 2);
        auto spread = [&](Vector3 r) { return std::fabs(r.x) * half.x + std::fabs(r.y) * half.y + std::fabs(r.z) * half.z; };
        reach = {spread(r0), spread(r1), spread(r2)};
    }
    return {middle - reach, middle + reach};
}

} // namespace

Placement placementOf(const Matrix4& model) {
    Placement p;
    p.model = model;
    p.identity = isIdentity(model);
    if (p.identity) return p;
    p.invertible = isAffine(model) && invert(model, p.inverse);
    p.stretch = largestStretch(model);
    p.shrink = p.invertible ? frobenius(p.inverse) : std::numeric_limits<float>::infinity();
    return p;
}

Search searchFor(const Frame& frame) {
    return frame.triangles.count() / 3 >= smallestTreeFrame ? Search::Tree : Search::Linear;
}

bool isTestableFrame(const MeshObject& mesh, int frame) {
    return frame >= 0 && std::size_t(frame) < mesh.frames.count() && mesh.frames[std::size_t(frame)].triangles.count() > 2;
}

const TriangleTree& treeOf(MeshObjectX& mesh, int frame) {
    if (mesh.collisionTrees.size() != mesh.frames.count()) mesh.collisionTrees.assign(mesh.frames.count(), {});
    TriangleTree& tree = mesh.collisionTrees[std::size_t(frame)];
    if (!tree.built()) tree.build(mesh.frames[std::size_t(frame)]);
    return tree;
}

bool sphereTouchesFrame(MeshObjectX& mesh, int frameIndex, const Placement& p, Vector3 centre, float radius,
                        Search search) {
    const Frame& frame = mesh.frames[std::size_t(frameIndex)];
    const SceneSphere bounds = boundingSphere(frame, p);
    const Vector3 gap = centre - bounds.centre;
    if ((radius + bounds.radius) * (radius + bounds.radius) < dot(gap, gap)) return false;
    const Vector3 firstCorner = centre - toScene(p, frame.triangles[0].position);
    if (dot(firstCorner, firstCorner) <= radius * radius) return true;
    auto touches = [&](std::size_t t) { return sphereTouchesTriangle(triangleAt(frame, t, p), centre, radius); };
    if (!useTree(search, p)) return anyTriangle(frame, touches);
    const TriangleTree& tree = treeOf(mesh, frameIndex);
    const float slack = sphereReach * tree.longestEdge() * p.stretch + roundingSlack(tree, p, centre, radius);
    const float reach = radius + slack;
    return tree.anyNear(objectBounds(p, centre, {reach, reach, reach}), 0.0f, touches);
}

bool boxTouchesFrame(MeshObjectX& mesh, int frameIndex, const Placement& p, Vector3 centre, Vector3 half, Search search) {
    const Frame& frame = mesh.frames[std::size_t(frameIndex)];
    const SceneSphere bounds = boundingSphere(frame, p);
    const Vector3 gap = centre - bounds.centre;
    const float reach = bounds.radius + length(half);
    if (reach * reach < dot(gap, gap)) return false;
    auto touches = [&](std::size_t t) { return boxTouchesTriangle(triangleAt(frame, t, p), centre, half); };
    if (!useTree(search, p)) return anyTriangle(frame, touches);
    const TriangleTree& tree = treeOf(mesh, frameIndex);
    const float slack = roundingSlack(tree, p, centre, length(half));
    return tree.anyNear(objectBounds(p, centre, half + Vector3{slack, slack, slack}), 0.0f, touches);
}

void RayHits::add(float distance) {
    if (distance > 0.0f && (ahead == 0.0f || distance < ahead)) ahead = distance;
    if (distance < 0.0f && (behind == 0.0f || distance > behind)) behind = distance;
}

void rayMeetsFrame(MeshObjectX& mesh, int frameIndex, const Placement& p, Vector3 origin, Vector3 direction,
                   Search search, RayHits& hits) {
    const Frame& frame = mesh.frames[std::size_t(frameIndex)];
    const SceneSphere bounds = boundingSphere(frame, p);
    const Vector3 towards = bounds.centre - origin;
    const Vector3 aside = towards - direction * dot(towards, direction);
    const float passing = bounds.radius * (1.0f + rounding) + rounding * (length(origin) + length(bounds.centre));
    if (dot(aside, aside) > passing * passing) return;  // the line passes the whole frame by
    auto meet = [&](std::size_t t) { hits.add(rayMeetsTriangle(triangleAt(frame, t, p), origin, direction)); };
    if (!useTree(search, p)) {
        anyTriangle(frame, [&](std::size_t t) { return meet(t), false; });
        return;
    }
    // Only parts of the line where a nearer hit than those found can lie are searched.
    auto wanted = [&](float enter, float leave) {
        return (leave > 0.0f && (hits.ahead == 0.0f || enter < hits.ahead)) ||
               (enter < 0.0f && (hits.behind == 0.0f || leave > hits.behind));
    };
    const TriangleTree& tree = treeOf(mesh, frameIndex);
    const float margin = p.shrink * roundingSlack(tree, p, origin, 0.0f);
    tree.alongLine(toObject(p, origin), directionToObject(p, direction), margin, wanted, meet);
}

} // namespace tarvoke
