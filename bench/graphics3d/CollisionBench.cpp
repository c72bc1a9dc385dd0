// Collision tests a second against a 100,000-triangle object (a rolling terrain of 250 x 200
// squares, turned and moved by its transform): rays dropped onto it or thrown across it, and
// spheres of radius 0.5 around points near its surface, about half of them touching. Each test
// runs with the plain search over every triangle and through the frame's bounding tree; the
// tree's one-off build is measured too.
#include <benchmark/benchmark.h>
#include <cmath>
#include <random>
#include <vector>
#include "graphics3d/Collision.h"

namespace {

using namespace tarvoke;

constexpr int columns = 250, rows = 200;
constexpr float cell = 0.2f;

Vector3 ground(float x, float z) { return {x, 1.5f * std::sin(x * 0.3f) * std::cos(z * 0.2f), z}; }

MeshObjectX terrain() {
    MeshObjectX mesh;
    mesh.frames.append(Frame{});
    Frame& frame = mesh.frames[0];
    frame.triangles.reserveExactly(std::size_t(columns) * rows * 6);
    auto corner = [&](int c, int r) {
        ExpandedVertex vertex;
        vertex.position = ground(c * cell, r * cell);
        frame.triangles.append(vertex);
    };
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            for (auto [dc, dr] : {std::pair{0, 0}, {0, 1}, {1, 1}, {0, 0}, {1, 1}, {1, 0}}) corner(c + dc, r + dr);
    computeBoundingSpheres(mesh);
    return mesh;
}

Matrix4 placement() {
    Matrix4 turn;
    rotationMatrix(35.0f, {0, 1, 0}, turn);
    return translationMatrix({-20, 3, 12}) * turn;
}

struct Query {
    Vector3 point, direction;
};

// Points above random places of the terrain, in the scene; rays downwards (even) or at a
// shallow random slant (odd).
std::vector<Query> queries(const Matrix4& model) {
    std::mt19937 random(5);
    std::uniform_real_distribution<float> x(0, columns * cell), z(0, rows * cell), unit(-1, 1);
    std::vector<Query> list(1024);
    for (std::size_t i = 0; i < list.size(); ++i) {
        const Vector3 above = ground(x(random), z(random)) + Vector3{0, 0.5f * unit(random), 0};
        const Vector3 way = i % 2 ? normalised({unit(random), -0.3f, unit(random)}) : Vector3{0, -1, 0};
        list[i] = {transformPoint(model, above + Vector3{0, 2, 0}), normalised(transformPoint(model, way) - transformPoint(model, {}))};
        if (i % 4 < 2) list[i].point = transformPoint(model, above);  // spheres use the point itself
    }
    return list;
}

struct Fixture {
    MeshObjectX mesh = terrain();
    Placement where = placementOf(placement());
    std::vector<Query> list = queries(placement());
};

Fixture& fixture() {
    static Fixture shared;
    return shared;
}

void rayTests(benchmark::State& state, Search search) {
    Fixture& f = fixture();
    treeOf(f.mesh, 0);
    std::size_t i = 0, hits = 0;
    for (auto _ : state) {
        const Query& q = f.list[i++ % f.list.size()];
        RayHits found;
        rayMeetsFrame(f.mesh, 0, f.where, q.point, q.direction, search, found);
        hits += found.ahead != 0.0f;
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()));
    state.counters["hit share"] = double(hits) / double(state.iterations());
}

void sphereTests(benchmark::State& state, Search search) {
    Fixture& f = fixture();
    treeOf(f.mesh, 0);
    std::size_t i = 0, hits = 0;
    for (auto _ : state) {
        const Query& q = f.list[i++ % f.list.size()];
        hits += sphereTouchesFrame(f.mesh, 0, f.where, q.point, 0.5f, search);
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()));
    state.counters["hit share"] = double(hits) / double(state.iterations());
}

void BM_RayEveryTriangle(benchmark::State& state) { rayTests(state, Search::Linear); }
void BM_RayThroughTree(benchmark::State& state) { rayTests(state, Search::Tree); }
void BM_SphereEveryTriangle(benchmark::State& state) { sphereTests(state, Search::Linear); }
void BM_SphereThroughTree(benchmark::State& state) { sphereTests(state, Search::Tree); }

void BM_TreeBuild(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        TriangleTree tree;
        tree.build(f.mesh.frames[0]);
        benchmark::DoNotOptimize(tree.extent());
    }
}

BENCHMARK(BM_RayEveryTriangle)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RayThroughTree)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SphereEveryTriangle)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SphereThroughTree)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TreeBuild)->Unit(benchmark::kMillisecond);

} // namespace
