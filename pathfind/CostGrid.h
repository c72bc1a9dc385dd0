// The cost grid as the planners read it: the game's numbers where they lie, width x height row
// by row (cell (x, y) at y * width + x). A value above 0 is open and costs 1 + v / M to enter,
// M the largest value, so every open cell costs more than 1 and at most 2; 0 or less, and NaN,
// are blocked. Values are taken into the float range first: an infinite one is simply the
// costliest cell, a tiny one the cheapest. Costs are worked out when a cell is looked at, so a
// query pays only for the cells its search reaches, plus one pass to find M.
#pragma once
#include <algorithm>
#include <cstddef>
#include <limits>

namespace tarvoke {

class CostGrid {
public:
    CostGrid(const double* values, std::size_t cells);

    bool hasOpenCell() const { return largest_ > 0; }
    float cost(std::size_t cell) const {  // -1 for a blocked cell
        const double v = values_[cell];
        return v > 0 ? 1.0f + inFloatRange(v) / largest_ : -1.0f;
    }

private:
    static float inFloatRange(double v) {
        return float(std::clamp(v, double(std::numeric_limits<float>::denorm_min()), double(std::numeric_limits<float>::max())));
    }

    const double* values_;
    float largest_ = 0;  // 0 when no cell is open
};

} // namespace tarvoke
