// Path queries on 512 x 512 grids (random obstacles at 25 % with costs 1..9, and a maze) for
// weights 0, 0.5 and 1. findPath beside a textbook A* (binary heap, hash maps) on the same 100
// queries: time per query and nodes expanded per second. AStarPlanner beside the sorted-list
// planner it replaced, on the first few queries (the sorted list takes far longer).
#include <benchmark/benchmark.h>
#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>
#include "SortedListPlanner.h"
#include "TextbookAStar.h"
#include "pathfind/AStarPlanner.h"
#include "tarvoke.h"

namespace {

using namespace tarvoke;

constexpr int side = 512;
constexpr int queryCount = 100;
constexpr int sortedListQueries = 10;

struct Query {
    int startX, startY, goalX, goalY;
};

struct Scene {
    NumArray grid;
    std::vector<Query> queries;
};

void randomObstacles(NumArray& grid, std::mt19937& random) {
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) grid(x, y) = random() % 4 == 0 ? 0 : 1 + random() % 9;
}

// A perfect maze carved by a depth-first walk over the cells at even coordinates.
void maze(NumArray& grid, std::mt19937& random) {
    const int cells = side / 2;
    std::vector<int> stack{0};
    grid(0, 0) = 1;
    while (!stack.empty()) {
        const int cx = stack.back() % cells, cy = stack.back() / cells;
        int options[4], count = 0;
        const int dx[4] = {1, -1, 0, 0}, dy[4] = {0, 0, 1, -1};
        for (int d = 0; d < 4; ++d) {
            const int nx = cx + dx[d], ny = cy + dy[d];
            if (nx >= 0 && ny >= 0 && nx < cells && ny < cells && grid(2 * nx, 2 * ny) == 0) options[count++] = d;
        }
        if (count == 0) {
            stack.pop_back();
            continue;
        }
        const int d = options[random() % unsigned(count)];
        grid(2 * cx + dx[d], 2 * cy + dy[d]) = 1;
        grid(2 * (cx + dx[d]), 2 * (cy + dy[d])) = 1;
        stack.push_back((cy + dy[d]) * cells + cx + dx[d]);
    }
}

// Region numbers by flood fill, so that every query drawn has a path.
std::vector<int> regions(const NumValue* cells) {
    std::vector<int> region(std::size_t(side) * side, -1);
    for (int seed = 0; seed < side * side; ++seed) {
        if (cells[seed] <= 0 || region[std::size_t(seed)] >= 0) continue;
        std::vector<int> stack{seed};
        region[std::size_t(seed)] = seed;
        while (!stack.empty()) {
            const int cell = stack.back();
            stack.pop_back();
            const int x = cell % side, y = cell / side;
            for (const int n : {cell - side, cell + 1, cell - 1, cell + side}) {
                const bool inside = n >= 0 && n < side * side && (n / side == y || n % side == x);
                if (inside && cells[n] > 0 && region[std::size_t(n)] < 0) {
                    region[std::size_t(n)] = seed;
                    stack.push_back(n);
                }
            }
        }
    }
    return region;
}

void makeScene(Scene& scene, bool isMaze) {
    std::mt19937 random(isMaze ? 512 : 25);
    dimArray(scene.grid, side, side);
    if (isMaze) maze(scene.grid, random);
    else randomObstacles(scene.grid, random);
    const std::vector<int> region = regions(scene.grid.data());
    while (scene.queries.size() < queryCount) {
        const int a = int(random() % (side * side)), b = int(random() % (side * side));
        if (a != b && scene.grid.data()[a] > 0 && region[std::size_t(a)] == region[std::size_t(b)])
            scene.queries.push_back({a % side, a / side, b % side, b / side});
    }
}

const Scene& scene(bool isMaze) {
    static Scene scenes[2];
    static bool made[2] = {false, false};
    if (!made[isMaze]) makeScene(scenes[isMaze], isMaze);
    made[isMaze] = true;
    return scenes[isMaze];
}

SearchParameters parametersFor(const Query& q, float weight) {
    SearchParameters parameters;
    parameters.startX = q.startX;
    parameters.startY = q.startY;
    parameters.goalX = q.goalX;
    parameters.goalY = q.goalY;
    parameters.width = parameters.height = side;
    parameters.poolSize = parameters.openCapacity = std::size_t(side) * side;
    parameters.weight = weight;
    return parameters;
}

template <typename PlannerType>
std::uint64_t plan(const Scene& s, const Query& q, float weight) {
    PlannerType planner(parametersFor(q, weight), CostGrid(s.grid.data(), std::size_t(side) * side));
    planner.start();
    if (!planner.search()) std::abort();  // every query has a path
    return planner.expansions();
}

void setCounters(benchmark::State& state, double queries, double expansions) {
    using benchmark::Counter;
    state.counters["per_query"] = Counter(queries, Counter::kIsIterationInvariantRate | Counter::kInvert);
    state.counters["expanded/s"] = Counter(expansions, Counter::kIsIterationInvariantRate);
    state.counters["expanded/query"] = expansions / queries;
}

void FindPath(benchmark::State& state, bool isMaze, float weight) {
    const Scene& s = scene(isMaze);
    std::uint64_t expansions = 0;
    for (const Query& q : s.queries) expansions += plan<AStarPlanner>(s, q, weight);  // counted outside the timing
    NumArray path;
    for (auto _ : state)
        for (const Query& q : s.queries)
            if (findPath(s.grid, path, weight, q.startX, q.startY, q.goalX, q.goalY) == 0) std::abort();
    setCounters(state, queryCount, double(expansions));
}

void TextbookAStar(benchmark::State& state, bool isMaze, float weight) {
    const Scene& s = scene(isMaze);
    NumArray path;
    std::uint64_t expansions = 0;
    for (auto _ : state) {
        expansions = 0;
        for (const Query& q : s.queries) {
            const bench::TextbookResult result = bench::textbookAStar(s.grid, path, weight, q.startX, q.startY, q.goalX, q.goalY);
            if (result.points == 0) std::abort();
            expansions += result.expansions;
        }
    }
    setCounters(state, queryCount, double(expansions));
}

// Planner against planner on the same prepared costs, without findPath's checks around them.
template <typename PlannerType>
void Planner(benchmark::State& state, bool isMaze, float weight) {
    const Scene& s = scene(isMaze);
    std::uint64_t expansions = 0;
    for (auto _ : state) {
        expansions = 0;
        for (int i = 0; i < sortedListQueries; ++i) expansions += plan<PlannerType>(s, s.queries[std::size_t(i)], weight);
    }
    setCounters(state, sortedListQueries, double(expansions));
}

void registerAll() {
    for (const bool isMaze : {false, true})
        for (const float weight : {0.0f, 0.5f, 1.0f}) {
            char suffix[32];
            std::snprintf(suffix, sizeof suffix, "/%s/w%.1f", isMaze ? "maze" : "random25", double(weight));
            const std::string tail = suffix;
            benchmark::RegisterBenchmark(("FindPath" + tail).c_str(), FindPath, isMaze, weight)->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("TextbookAStar" + tail).c_str(), TextbookAStar, isMaze, weight)->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("AStarPlanner" + tail).c_str(), Planner<AStarPlanner>, isMaze, weight)
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("SortedListPlanner" + tail).c_str(), Planner<test::SortedListPlanner>, isMaze, weight)
                ->Unit(benchmark::kMillisecond)->Iterations(1);
        }
}

const int registered = (registerAll(), 0);

} // namespace
