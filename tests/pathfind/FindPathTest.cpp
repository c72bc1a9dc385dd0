// findPath as a game calls it: the checks on the query, the result array, the weight, a maze,
// least-cost paths against Dijkstra's, and a large grid.
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <limits>
#include <queue>
#include <random>
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
    for (std::size_t i = 0; i < cells.size(); ++i) grid(IntValue(i) % width, IntValue(i) / width) = cells[i];
}

Points pointsOf(const NumArray& path) {
    Points points;
    for (int i = 0; i < path.shape().size1; ++i) points.emplace_back(int(path(i, 0)), int(path(i, 1)));
    return points;
}

enum class Outcome { path, none, rejected };

struct Case {
    const char* name;
    int width, height;
    std::vector<double> cells;
    double weight, startX, startY, goalX, goalY;
    Outcome outcome;
    Points points;
};

const std::vector<double> row3{1, 1, 1};
const std::vector<double> costlyMiddleRow{1, 1, 1, 1, 1, 9, 9, 9, 9, 9, 1, 1, 1, 1, 1};
const Points straight{{0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}};
const Points overTheTop{{0, 1}, {0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {4, 1}};

TEST(FindPath, QueriesAndTheirResults) {
    const Case cases[] = {
        {"three in a row", 3, 1, row3, 0.5, 0, 0, 2, 0, Outcome::path, {{0, 0}, {1, 0}, {2, 0}}},
        {"blocked goal", 3, 1, {1, 1, 0}, 0.5, 0, 0, 2, 0, Outcome::none, {}},
        {"goal walled in", 3, 3, {1, 1, 1, 1, 1, -2, 1, 0, 4}, 0.5, 0, 0, 2, 2, Outcome::none, {}},
        {"start on a blocked cell", 3, 1, {0, 1, 1}, 0.5, 0, 0, 2, 0, Outcome::path, {{0, 0}, {1, 0}, {2, 0}}},
        {"start equals goal", 3, 1, row3, 0.5, 1, 0, 1, 0, Outcome::rejected, {}},
        {"start left of the grid", 3, 1, row3, 0.5, -1, 0, 2, 0, Outcome::rejected, {}},
        {"goal right of the grid", 3, 1, row3, 0.5, 0, 0, 3, 0, Outcome::rejected, {}},
        {"goal below the grid", 3, 1, row3, 0.5, 0, 0, 2, 1, Outcome::rejected, {}},
        {"start NaN", 3, 1, row3, 0.5, nan, 0, 2, 0, Outcome::rejected, {}},
        {"no open cell", 3, 1, {0, -1, nan}, 0.5, 0, 0, 2, 0, Outcome::rejected, {}},
        {"coordinates truncate", 3, 1, row3, 0.5, 0.9, 0.5, 2.99, -0.5, Outcome::path, {{0, 0}, {1, 0}, {2, 0}}},
        {"one column", 1, 3, row3, 0.5, 0, 2, 0, 0, Outcome::path, {{0, 2}, {0, 1}, {0, 0}}},
        {"one-dimensional array is a row", 3, 0, row3, 0.5, 2, 0, 0, 0, Outcome::path, {{2, 0}, {1, 0}, {0, 0}}},
        {"first index is x", 2, 3, {1, 1, 1, 1, 1, 1}, 0.5, 0, 0, 2, 0, Outcome::rejected, {}},
        {"equal values tie: first neighbour in wins", 2, 2, {5, 5, 5, 5}, 0.5, 0, 0, 1, 1, Outcome::path, {{0, 0}, {1, 0}, {1, 1}}},
        {"infinite value is the costliest", 2, 2, {1, inf, 1, 1}, 0.5, 0, 0, 1, 1, Outcome::path, {{0, 0}, {0, 1}, {1, 1}}},
        {"values below the float range are open", 3, 1, {1e-300, 1e-300, 1e-300}, 0.5, 0, 0, 2, 0, Outcome::path, {{0, 0}, {1, 0}, {2, 0}}},
        {"NaN cell is blocked", 3, 1, {1, nan, 1}, 0.5, 0, 0, 2, 0, Outcome::none, {}},
        {"weight 1 heads for the goal", 5, 3, costlyMiddleRow, 1, 0, 1, 4, 1, Outcome::path, straight},
        {"weight 7 is 1", 5, 3, costlyMiddleRow, 7, 0, 1, 4, 1, Outcome::path, straight},
        {"weight 0 takes the cheap detour", 5, 3, costlyMiddleRow, 0, 0, 1, 4, 1, Outcome::path, overTheTop},
        {"weight -3 is 0", 5, 3, costlyMiddleRow, -3, 0, 1, 4, 1, Outcome::path, overTheTop},
        {"weight NaN is 0", 5, 3, costlyMiddleRow, nan, 0, 1, 4, 1, Outcome::path, overTheTop},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NumArray grid, path;
        fillGrid(grid, c.width, c.height, c.cells);
        fillArray(path, {7, 8, 9});
        EXPECT_EQ(findPath(grid, path, c.weight, c.startX, c.startY, c.goalX, c.goalY), NumValue(c.points.size()));
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

TEST(FindPath, MazeWithOneRoute) {
    NumArray maze, path;
    fillGrid(maze, 10, 5, {1, 0, 1, 1, 1, 0, 1, 1, 1, 1,
                           1, 0, 1, 0, 1, 0, 1, 0, 0, 1,
                           1, 0, 1, 0, 1, 0, 1, 1, 0, 1,
                           1, 1, 1, 0, 1, 1, 1, 0, 1, 1,
                           0, 0, 0, 0, 1, 0, 0, 0, 1, 0});
    const Points route{{0, 0}, {0, 1}, {0, 2}, {0, 3}, {1, 3}, {2, 3}, {2, 2}, {2, 1}, {2, 0}, {3, 0}, {4, 0}, {4, 1},
                       {4, 2}, {4, 3}, {5, 3}, {6, 3}, {6, 2}, {6, 1}, {6, 0}, {7, 0}, {8, 0}, {9, 0}, {9, 1}, {9, 2},
                       {9, 3}, {8, 3}, {8, 4}};
    for (double weight : {0.0, 0.5, 1.0}) {
        EXPECT_EQ(findPath(maze, path, weight, 0, 0, 8, 4), NumValue(route.size())) << weight;
        EXPECT_EQ(pointsOf(path), route) << weight;
    }
}

// Least total cost of entering the cells from start to goal; infinity when there is no way.
double cheapestCost(const std::vector<float>& costs, int width, int start, int goal) {
    std::vector<double> best(costs.size(), inf);
    std::priority_queue<std::pair<double, int>, std::vector<std::pair<double, int>>, std::greater<>> queue;
    queue.emplace(best[std::size_t(start)] = 0, start);
    while (!queue.empty()) {
        const auto [cost, cell] = queue.top();
        queue.pop();
        if (cost > best[std::size_t(cell)]) continue;
        for (const int n : {cell - width, cell + 1, cell - 1, cell + width}) {
            const bool neighbour = n >= 0 && std::size_t(n) < costs.size() && (n / width == cell / width || n % width == cell % width);
            if (neighbour && costs[std::size_t(n)] > 0 && cost + costs[std::size_t(n)] < best[std::size_t(n)])
                queue.emplace(best[std::size_t(n)] = cost + costs[std::size_t(n)], n);
        }
    }
    return best[std::size_t(goal)];
}

TEST(FindPath, WeightZeroFindsALeastCostPath) {
    std::mt19937 random(9);
    int found = 0;
    for (int round = 0; round < 300; ++round) {
        const int width = 2 + int(random() % 15), height = 2 + int(random() % 15), cells = width * height;
        std::vector<double> values(static_cast<std::size_t>(cells));
        for (double& value : values) value = random() % 4 ? 1 + random() % 9 : 0;
        const float largest = float(*std::max_element(values.begin(), values.end()));
        std::vector<float> costs;  // as the planner works them out
        for (double value : values) costs.push_back(value > 0 ? 1.0f + float(value) / largest : -1.0f);
        const int start = int(random() % unsigned(cells)), goal = int(random() % unsigned(cells));
        if (start == goal || largest == 0) continue;
        NumArray grid, path;
        fillGrid(grid, width, height, values);
        const double cheapest = cheapestCost(costs, width, start, goal);
        const NumValue count = findPath(grid, path, 0, start % width, start / width, goal % width, goal / width);
        ASSERT_EQ(count > 0, cheapest < inf) << round;
        if (count == 0) continue;
        ++found;
        const Points points = pointsOf(path);
        EXPECT_EQ(points.front(), std::make_pair(start % width, start / width));
        double total = 0;
        for (std::size_t i = 1; i < points.size(); ++i) {
            const auto [x, y] = points[i];
            ASSERT_EQ(std::abs(x - points[i - 1].first) + std::abs(y - points[i - 1].second), 1) << round;
            total += costs[std::size_t(y * width + x)];  // a blocked cell would add -1
        }
        EXPECT_EQ(points.back(), std::make_pair(goal % width, goal / width));
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
