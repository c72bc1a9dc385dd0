// findPath: checks the query, turns the number grid into normalised costs, runs AStarPlanner and
// writes the path into the result array.
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>
#include "pathfind/AStarPlanner.h"
#include "tarvoke/pathfind.h"

namespace tarvoke {
namespace {

// Costs of entering each cell: 1 + v / M for a positive value v (M the largest), so every open
// cell costs more than 1 and at most 2; -1 for a blocked cell. Empty when no cell is open.
// Values are taken into the float range first, so an infinite cell is simply the costliest and
// a tiny one the cheapest, and NaN counts as blocked.
std::vector<float> normalisedCosts(const NumArray& grid, std::int32_t width, std::int32_t height) {
    const NumValue* values = grid.data();
    const std::size_t rowStride = std::size_t(grid.shape().stride2);
    std::vector<float> costs(std::size_t(width) * std::size_t(height));
    float largest = 0;
    for (std::int32_t y = 0; y < height; ++y) {
        const NumValue* row = values + std::size_t(y) * rowStride;
        float* out = &costs[std::size_t(y) * std::size_t(width)];
        for (std::int32_t x = 0; x < width; ++x) {
            const NumValue v = row[x];
            out[x] = v > 0 ? float(std::clamp(v, NumValue(std::numeric_limits<float>::denorm_min()),
                                              NumValue(std::numeric_limits<float>::max())))
                           : -1.0f;
            largest = std::max(largest, out[x]);
        }
    }
    if (largest == 0) return {};
    for (float& cost : costs)
        if (cost > 0) cost = 1.0f + cost / largest;
    return costs;
}

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

NumValue findPath(const NumArray& costs, NumArray& path, NumValue weight, NumValue startX, NumValue startY,
                  NumValue goalX, NumValue goalY) {
    // The first two dimensions make the grid; a one-dimensional array is a single row.
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

    std::vector<float> grid = normalisedCosts(costs, width, height);
    if (grid.empty()) return 0;
    parameters.poolSize = parameters.openCapacity = grid.size();
    parameters.weight = std::isnan(weight) ? 0.0f : float(std::clamp(weight, 0.0, 1.0));
    parameters.diagonals = false;
    parameters.diagonalCost = false;

    AStarPlanner planner(parameters, std::move(grid));
    planner.start();
    if (!planner.search()) {
        dimArray(path, 0, 0);
        return 0;
    }
    return storePath(planner.goalNode(), path);
}

} // namespace tarvoke
