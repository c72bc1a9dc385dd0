// Finding the largest cell value.
#include "pathfind/CostGrid.h"

namespace tarvoke {

// Four running maxima, so the comparisons do not wait on each other. `v > m ? v : m` keeps m
// for a NaN, and values of 0 or less never pass the 0 the maxima start from.
CostGrid::CostGrid(const double* values, std::size_t cells) : values_(values) {
    double m[4] = {0, 0, 0, 0};
    std::size_t i = 0;
    for (; i + 4 <= cells; i += 4)
        for (int k = 0; k < 4; ++k) m[k] = values[i + k] > m[k] ? values[i + k] : m[k];
    for (; i < cells; ++i) m[0] = values[i] > m[0] ? values[i] : m[0];
    const double largest = std::max(std::max(m[0], m[1]), std::max(m[2], m[3]));
    if (largest > 0) largest_ = inFloatRange(largest);
}

} // namespace tarvoke
