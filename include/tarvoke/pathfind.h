// Path finding on a cost grid held in a number array.
#pragma once
#include "tarvoke/arrays.h"
#include "tarvoke/scalars.h"

namespace tarvoke {

// Finds a path between two cells of the grid `costs` (first index x, second index y; a cell of
// 0 or less, or NaN, is blocked; a positive value is the cost of entering it) moving in four
// directions. `weight` (0..1, NaN counts as 0) blends the cost so far with the distance still to go:
// 0 finds a least-cost path, 0.5 is A*, 1 heads straight for the goal.
// Returns the number of points from start to goal, both included, and dimensions `path` to
// (points, 2): element (i, 0) is x, (i, 1) is y. No path: 0, and `path` becomes (0, 0).
// A start or goal outside the grid, start = goal, or a grid without a positive cell: 0, and
// `path` is left as it was. `costs` and `path` may be the same array.
NumValue findPath(const NumArray& costs, NumArray& path, NumValue weight, NumValue startX, NumValue startY,
                  NumValue goalX, NumValue goalY);

} // namespace tarvoke
