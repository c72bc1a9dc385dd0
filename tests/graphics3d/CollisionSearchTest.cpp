// The bounding tree against the plain search over every triangle: the same answers for random
// spheres, boxes and rays thrown at a rolling surface strewn with tiny and flattened triangles
// and two large ones, under the identity, a turn with a move, and a skewing transform. Small
// spheres just outside the large triangles' edges, which the sum of angles still counts as
// inside, check that the tree looks far enough around a sphere.
#include <gtest/gtest.h>
#include <cmath>
#include <random>
#include "graphics3d/Collision.h"

namespace tarvoke {
namespace {

void addTriangle(Frame& frame, Vector3 a, Vector3 b, Vector3 c) {
    for (Vector3 corner : {a, b, c}) {
        ExpandedVertex vertex;
        vertex.position = corner;
        frame.triangles.append(vertex);
    }
}

MeshObjectX surface() {
    MeshObjectX mesh;
    mesh.frames.append(Frame{});
    Frame& frame = mesh.frames[0];
    auto at = [](int i, int j) { return Vector3{i * 0.5f, std::sin(i * 0.7f) * std::cos(j * 0.4f), j * 0.5f}; };
    for (int i = 0; i < 12; ++i)
        for (int j = 0; j < 12; ++j) {
            addTriangle(frame, at(i, j), at(i + 1, j), at(i + 1, j + 1));
            addTriangle(frame, at(i, j), at(i + 1, j + 1), at(i, j + 1));
        }
    for (int k = 0; k < 40; ++k) {  // tiny ones above the surface, and slivers with no area
        const Vector3 base = at(k % 12, k / 4) + Vector3{0, 0.3f, 0};
        addTriangle(frame, base, base + Vector3{0.01f, 0, 0}, base + Vector3{0, 0.004f, 0.01f});
        addTriangle(frame, base, base + Vector3{1, 0.5f, 0}, base + Vector3{2, 1, 0});
    }
    addTriangle(frame, {0, 3, 0}, {8, 3, 0}, {0, 3.5f, 8});  // large ones above it
    addTriangle(frame, {8, 3, 0}, {8, 3, 8}, {0, 3.5f, 8});
    addTriangle(frame, {NAN, 0, 0}, {1, 1, 1}, {2, 0, 1});
    computeBoundingSpheres(mesh);
    return mesh;
}

Matrix4 placed(float degrees, Vector3 axis) {
    Matrix4 turn;
    rotationMatrix(degrees, axis, turn);
    return turn;
}

TEST(CollisionSearch, TheTreeFindsWhatEveryTriangleFinds) {
    MeshObjectX mesh = surface();
    const Frame& frame = mesh.frames[0];
    const std::size_t triangles = frame.triangles.count() / 3 - 1;  // not the one with a NaN
    const std::size_t large = triangles - 2;
    const Matrix4 placements[] = {
        Matrix4{},
        translationMatrix({3, -2, 5}) * placed(30, {1, 2, 3}),
        placed(40, {0, 1, 0}) * scalingMatrix({2, 0.5f, 1}) * placed(25, {1, 0, 0}),
    };
    std::mt19937 random(17);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f), signedUnit(-1.0f, 1.0f);
    auto offset = [&](float size) { return Vector3{signedUnit(random), signedUnit(random), signedUnit(random)} * size; };
    for (const Matrix4& model : placements) {
        const Placement p = placementOf(model);
        // A random point of a random triangle, in the scene.
        auto onSurface = [&] {
            const std::size_t t = std::size_t(unit(random) * float(triangles - 1));
            float u = unit(random), v = unit(random);
            if (u + v > 1) u = 1 - u, v = 1 - v;
            const Vector3 a = frame.triangles[t * 3].position, b = frame.triangles[t * 3 + 1].position,
                          c = frame.triangles[t * 3 + 2].position;
            return transformPoint(model, a + (b - a) * u + (c - a) * v);
        };
        int hits[3] = {0, 0, 0}, queries = 600;
        for (int q = 0; q < queries; ++q) {
            const Vector3 centre = onSurface() + offset(0.4f);
            const float radius = 0.005f + 0.4f * unit(random);
            const bool linear = sphereTouchesFrame(mesh, 0, p, centre, radius, Search::Linear);
            ASSERT_EQ(sphereTouchesFrame(mesh, 0, p, centre, radius, Search::Tree), linear) << q;
            hits[0] += linear;

            const std::size_t t = large + std::size_t(q % 2);
            const Vector3 a = frame.triangles[t * 3].position, b = frame.triangles[t * 3 + 1].position,
                          c = frame.triangles[t * 3 + 2].position;
            const Vector3 edge = b - a, towardsC = c - a - edge * (dot(c - a, edge) / dot(edge, edge));
            const Vector3 outwards = normalised(towardsC) * -1.0f;
            const Vector3 nearEdge = transformPoint(model, a + (b - a) * unit(random) + outwards * (0.08f * unit(random)));
            const float small = 0.001f + 0.02f * unit(random);
            ASSERT_EQ(sphereTouchesFrame(mesh, 0, p, nearEdge, small, Search::Tree),
                      sphereTouchesFrame(mesh, 0, p, nearEdge, small, Search::Linear)) << q;

            const Vector3 half{0.005f + 0.4f * unit(random), 0.005f + 0.4f * unit(random), 0};
            const Vector3 boxCentre = onSurface() + offset(0.5f), box{half.x, half.y, half.x};
            const bool boxLinear = boxTouchesFrame(mesh, 0, p, boxCentre, box, Search::Linear);
            ASSERT_EQ(boxTouchesFrame(mesh, 0, p, boxCentre, box, Search::Tree), boxLinear) << q;
            hits[1] += boxLinear;

            const Vector3 origin = onSurface() + offset(3.0f);
            const Vector3 direction = normalised(q % 2 ? onSurface() - origin : offset(1.0f));
            RayHits plain, searched;
            rayMeetsFrame(mesh, 0, p, origin, direction, Search::Linear, plain);
            rayMeetsFrame(mesh, 0, p, origin, direction, Search::Tree, searched);
            ASSERT_EQ(searched.ahead, plain.ahead) << q << " " << origin.x << " " << origin.y << " " << origin.z << " d " << direction.x << " " << direction.y << " " << direction.z;
            ASSERT_EQ(searched.behind, plain.behind) << q;
            hits[2] += plain.nearest() != 0.0f;
        }
        for (int kind = 0; kind < 3; ++kind) {  // both answers are common, so both are compared
            EXPECT_GT(hits[kind], queries / 20) << kind;
            EXPECT_LT(hits[kind], queries * 19 / 20) << kind;
        }
    }
}

} // namespace
} // namespace tarvoke
