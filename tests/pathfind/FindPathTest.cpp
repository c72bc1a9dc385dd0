// findPath as a game calls it: the checks on the query, the result array, least-cost, greedy
// and maze paths, and a large grid.
#include <gtest/gtest.h>
#include <cmath>
#include <limits>
#include <queue>
#include <random>
#include <string>
#include <utility>
#include <vector>
#include "tarvoke.h"

namespace tarvoke {
namespace {

using Points = std::vector<std::pair<int, int>>;
constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

// Cells row by row; a height of 0 makes a one-dimensional array.
void fillGrid(NumArray& grid, int width, int height, const std::vector<double>& cells) {
    dimArray(grid, width, height);
    for (int y = 0; y < std::max(height, 1); ++y)
        for (int x = 0; x < width; ++x) grid(x, y) = cells[std::size_t(y * width + x)];
}

Points pointsOf(const NumArray& path) {
    Points points;
    for (int i = 0; i < path.shape().size1; ++i) points.emplace_back(int(path(i, 0)), int(path(i, 1)));
    return points;
}

// A grid drawn in text: '#' blocked, a digit its cost, '.' cost 1.
void drawGrid(NumArray& grid, const std::vector<std::string>& rows) {
    dimArray(grid, NumValue(rows[0].size()), NumValue(rows.size()));
    for (std::size_t y = 0; y < rows.size(); ++y)
        for (std::size_t x = 0; x < rows[y].size(); ++x) {
            const char c = rows[y][x];
            grid(IntValue(x), IntValue(y)) = c == '#' ? 0 : c == '.' ? 1 : c - '0';
        }
}

enum class Outcome { path, none, rejected };

struct Case {
    const char* name;
    int width, height;
    std::vector<double> cells;
    double startX, startY, goalX, goalY;
    Outcome outcome;
    Points points;
};

TEST(FindPath, QueriesAndTheirResults) {
    const Case cases[] = {
        {"three in a row", 3, 1, {1, 1, 1}, 0, 0, 2, 0, Outcome::path, {{0, 0}, {1, 0}, {2, 0}}},
        {"blocked goal", 3, 1, {1, 1, 0}, 0, 0, 2, 0, Outcome::none, {}},
        {"goal walled in", 3, 3, {1, 1, 1, 1, 1, -2, 1, 0, 4}, 0, 0, 2, 2, Outcome::none, {}},
        {"start on a blocked cell", 3, 1, {0, 1, 1}, 0, 0, 2, 0, Outcome::path, {{0, 0}, {1, 0}, {2, 0}}},
        {"start equals goal", 3, 1, {1, 1, 1}, 1, 0, 1, 0, Outcome::rejected, {}},
        {"start left of the grid", 3, 1, {1, 1, 1}, -1, 0, 2, 0, Outcome::rejected, {}},
        {"goal right of the grid", 3, 1, {1, 1, 1}, 0, 0, 3, 0, Outcome::rejected, {}},
        {"goal below the grid", 3, 1, {1, 1, 1}, 0, 0, 2, 1, Outcome::rejected, {}},
        {"start NaN", 3, 1, {1, 1, 1}, nan, 0, 2, 0, Outcome::rejected, {}},
        {"no open cell", 3, 1, {0, -1, nan}, 0, 0, 2, 0, Outcome::rejected, {}},
        {"coordinates truncate", 3, 1, {1, 1, 1}, 0.9, 0.5, 2.99, -0.5, Outcome::path, {{0, 0}, {1, 0}, {2, 0}}},
        {"one column", 1, 3, {1, 1, 1}, 0, 2, 0, 0, Outcome::path, {{0, 2}, {0, 1}, {0, 0}}},
        {"one-dimensional array is a row", 3, 0, {1, 1, 1}, 2, 0, 0, 0, Outcome::path, {{2, 0}, {1, 0}, {0, 0}}},
        {"first index is x", 2, 3, {1, 1, 1, 1, 1, 1}, 0, 0, 2, 0, Outcome::rejected, {}},
        {"equal values tie: first neighbour inserted wins", 2, 2, {5, 5, 5, 5}, 0, 0, 1, 1, Outcome::path,
         {{0, 0}, {1, 0}, {1, 1}}},
        {"infinite value is the costliest", 2, 2, {1, inf, 1, 1}, 0, 0, 1, 1, Outcome::path, {{0, 0}, {0, 1}, {1, 1}}},
        {"NaN cell is blocked", 3, 1, {1, nan, 1}, 0, 0, 2, 0, Outcome::none, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NumArray grid, path;
        fillGrid(grid, c.width, c.height, c.cells);
        fillArray(path, {7, 8, 9});
        const NumValue count = findPath(grid, path, 0.5, c.startX, c.startY, c.goalX, c.goalY);
        EXPECT_EQ(count, NumValue(c.points.size()));
        if (c.outcome == Outcome::rejected) {
            EXPECT_EQ(path.shape().size1, 3);
            EXPECT_EQ(path(2), 9);
        } else {
            EXPECT_EQ(path.shape().dimensions, c.outcome == Outcome::none ? 0u : 2u);
            EXPECT_EQ(pointsOf(path), c.points);
        }
    }
}

TEST(FindPath, ResultMayReplaceTheCostArray) {
    NumArray grid;
    fillGrid(grid, 2, 2, {1, 1, 1, 1});
    EXPECT_EQ(findPath(grid, grid, 0, 0, 0, 1, 1), 3);
    EXPECT_EQ(pointsOf(grid), (Points{{0, 0}, {1, 0}, {1, 1}}));
}

// A cheap detour around a costly straight row: the weight decides.
TEST(FindPath, WeightTradesCostForHeadingToTheGoal) {
    NumArray grid, path;
    drawGrid(grid, {"11111", "99999", "11111"});
    const Points straight{{0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}};
    for (double weight : {1.0, 7.0}) {
        EXPECT_EQ(findPath(grid, path, weight, 0, 1, 4, 1), 5) << weight;
        EXPECT_EQ(pointsOf(path), straight) << weight;
    }
    for (double weight : {0.0, -3.0, nan}) {
        EXPECT_EQ(findPath(grid, path, weight, 0, 1, 4, 1), 7) << weight;
        EXPECT_NE(pointsOf(path)[1].second, 1) << weight;
    }
}

TEST(FindPath, MazeWithOneRoute) {
    NumArray maze, path;
    drawGrid(maze, {".#...#....",
                    ".#.#.#.##.",
                    ".#.#.#..#.",
                    "...#...#..",
                    "####.###.#"});
    const Points route{{0, 0}, {0, 1}, {0, 2}, {0, 3}, {1, 3}, {2, 3}, {2, 2}, {2, 1}, {2, 0}, {3, 0}, {4, 0}, {4, 1},
                       {4, 2}, {4, 3}, {5, 3}, {6, 3}, {6, 2}, {6, 1}, {6, 0}, {7, 0}, {8, 0}, {9, 0}, {9, 1}, {9, 2},
                       {9, 3}, {8, 3}, {8, 4}};
    for (double weight : {0.0, 0.5, 1.0}) {
        EXPECT_EQ(findPath(maze, path, weight, 0, 0, 8, 4), NumValue(route.size())) << weight;
        EXPECT_EQ(pointsOf(path), route) << weight;
    }
}

// Least total cost of entering the cells, over the costs as the planner sees them.
double cheapestCost(const std::vector<float>& costs, int width, int height, int start, int goal) {
    std::vector<double> best(costs.size(), inf);
    std::priority_queue<std::pair<double, int>, std::vector<std::pair<double, int>>, std::greater<>> queue;
    best[std::size_t(start)] = 0;
    queue.emplace(0, start);
    while (!queue.empty()) {
        const auto [cost, cell] = queue.top();
        queue.pop();
        if (cost > best[std::size_t(cell)]) continue;
        const int x = cell % width, y = cell / width;
        const int next[4][2] = {{x, y - 1}, {x + 1, y}, {x - 1, y}, {x, y + 1}};
        for (const auto& [nx, ny] : next) {
            const int n = ny * width + nx;
            if (nx < 0 || ny < 0 || nx >= width || ny >= height || costs[std::size_t(n)] < 0) continue;
            if (cost + costs[std::size_t(n)] < best[std::size_t(n)]) queue.emplace(best[std::size_t(n)] = cost + costs[std::size_t(n)], n);
        }
    }
    return best[std::size_t(goal)];
}

TEST(FindPath, WeightZeroFindsALeastCostPath) {
    std::mt19937 random(9);
    int found = 0;
    for (int round = 0; round < 300; ++round) {
        const int width = 2 + int(random() % 15), height = 2 + int(random() % 15);
        NumArray grid, path;
        dimArray(grid, width, height);
        std::vector<float> costs(std::size_t(width * height));
        float largest = 1;
        for (int i = 0; i < width * height; ++i) {
            grid(i % width, i / width) = random() % 4 ? 1 + random() % 9 : 0;
            largest = std::max(largest, float(grid(i % width, i / width)));
        }
        for (int i = 0; i < width * height; ++i) {
            const double v = grid(i % width, i / width);
            costs[std::size_t(i)] = v > 0 ? 1.0f + float(v) / largest : -1.0f;
        }
        const int start = int(random() % costs.size()), goal = int(random() % costs.size());
        if (start == goal) continue;
        const double cheapest = cheapestCost(costs, width, height, start, goal);
        const NumValue count = findPath(grid, path, 0, start % width, start / width, goal % width, goal / width);
        ASSERT_EQ(count > 0, cheapest < inf) << round;
        if (count == 0) continue;
        ++found;
        const Points points = pointsOf(path);
        EXPECT_EQ(points.front(), std::make_pair(start % width, start / width));
        EXPECT_EQ(points.back(), std::make_pair(goal % width, goal / width));
        double total = 0;
        for (std::size_t i = 1; i < points.size(); ++i) {
            const auto [x, y] = points[i];
            ASSERT_EQ(std::abs(x - points[i - 1].first) + std::abs(y - points[i - 1].second), 1) << round;
            ASSERT_GT(grid(x, y), 0) << round;
            total += costs[std::size_t(y * width + x)];
        }
        EXPECT_NEAR(total, cheapest, 1e-4) << round;
    }
    EXPECT_GT(found, 150);
}

TEST(FindPath, OpenGridOfAMillionCells) {
    NumArray grid, path;
    dimArray(grid, 1000, 1000);
    for (int y = 0; y < 1000; ++y)
        for (int x = 0; x < 1000; ++x) grid(x, y) = 3;
    ASSERT_EQ(findPath(grid, path, 0.5, 0, 999, 999, 0), 1999);
    const Points points = pointsOf(path);
    EXPECT_EQ(points.front(), std::make_pair(0, 999));
    EXPECT_EQ(points.back(), std::make_pair(999, 0));
    for (std::size_t i = 1; i < points.size(); ++i) {  // every step one cell right or up
        const int right = points[i].first - points[i - 1].first, up = points[i - 1].second - points[i].second;
        ASSERT_TRUE((right == 1 && up == 0) || (right == 0 && up == 1)) << i;
    }
}

} // namespace
} // namespace tarvoke
