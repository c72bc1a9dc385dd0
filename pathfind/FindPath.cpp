// findPath: checks the query, runs AStarPlanner over the number grid and writes the path into
// the result array.
#include <algorithm>
#include <cmath>
#include "pathfind/AStarPlanner.h"
#include "tarvoke/pathfind.h"

namespace tarvoke {
namespace {

bool inside(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) {
    return x >= 0 && x < width && y >= 0 && y < height;
}

// The path from the goal back along the parents, stored start first.
NumValue storePath(const Node* goal, NumArray& path) {
    IntValue count = 0;
    for (const Node* node = goal; node; node = node->parent) ++count;
    dimArray(path, count, 2);
    IntValue i = count;
    for (const Node* node = goal; node; node = node->parent) {
        --i;
        path(i, 0) = node->x;
        path(i, 1) = node->y;
    }
    return count;
}

} // namespace

// The grid is the array's first two dimensions (first index x), read where it lies: a
// one-dimensional array is a single row, and of a larger one only the plane of index 0 counts.
// The path is written only after the search, so the two arrays may be one.
NumValue findPath(const NumArray& costs, NumArray& path, NumValue weight, NumValue startX, NumValue startY,
                  NumValue goalX, NumValue goalY) {
    const ArrayShape& shape = costs.shape();
    SearchParameters parameters;
    parameters.width = shape.size1;
    parameters.height = shape.dimensions >= 1 ? std::max(shape.size2, 1) : 0;
    parameters.startX = toInt(startX);
    parameters.startY = toInt(startY);
    parameters.goalX = toInt(goalX);
    parameters.goalY = toInt(goalY);
    const std::int32_t width = parameters.width, height = parameters.height;
    if (!inside(parameters.startX, parameters.startY, width, height) ||
        !inside(parameters.goalX, parameters.goalY, width, height) ||
        (parameters.startX == parameters.goalX && parameters.startY == parameters.goalY))
        return 0;

    const std::size_t cells = std::size_t(width) * std::size_t(height);
    const CostGrid grid(costs.data(), cells);
    if (!grid.hasOpenCell()) return 0;
    parameters.poolSize = parameters.openCapacity = cells;
    parameters.weight = std::isnan(weight) ? 0.0f : float(std::clamp(weight, 0.0, 1.0));
    parameters.diagonals = false;
    parameters.diagonalCost = false;

    AStarPlanner planner(parameters, grid);
    planner.start();
    if (!planner.search()) {
        dimArray(path, 0, 0);
        return 0;
    }
    return storePath(planner.goalNode(), path);
}

} // namespace tarvoke
