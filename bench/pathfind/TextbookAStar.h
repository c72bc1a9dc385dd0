// A textbook A* for comparison: a binary heap of (priority, cell) with stale entries skipped, and
// hash maps for the cost so far and the parent of each cell reached. It answers the same queries
// as findPath (same grid, same costs, same priority) and fills the path array the same way.
#pragma once
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <queue>
#include <tuple>
#include <unordered_map>
#include <utility>
#include <vector>
#include "tarvoke/arrays.h"

namespace tarvoke::bench {

struct TextbookResult {
    NumValue points = 0;
    std::uint64_t expansions = 0;
};

inline TextbookResult textbookAStar(const NumArray& grid, NumArray& path, float weight, int startX, int startY, int goalX,
                                    int goalY) {
    const int width = grid.shape().size1, height = grid.shape().size2;
    const NumValue* values = grid.data();
    double largest = 0;
    for (int i = 0; i < width * height; ++i) largest = std::max(largest, values[i]);
    const float top = float(largest);
    auto cost = [&](int cell) { return 1.0f + float(values[cell]) / top; };
    auto priority = [&](float g, int x, int y) {
        return g + weight * (float(std::abs(goalX - x) + std::abs(goalY - y)) - g);
    };

    using Entry = std::tuple<float, int, float>;  // priority, cell, cost so far
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> open;
    std::unordered_map<int, float> costSoFar;
    std::unordered_map<int, int> cameFrom;
    const int start = startY * width + startX, goal = goalY * width + goalX;
    costSoFar[start] = 0;
    open.emplace(priority(0, startX, startY), start, 0.0f);
    TextbookResult result;
    while (!open.empty()) {
        const auto [f, cell, g] = open.top();
        open.pop();
        if (g > costSoFar[cell]) continue;  // superseded by a cheaper entry
        const int x = cell % width, y = cell / width;
        if (cell == goal) {
            int count = 1;
            for (int at = goal; at != start; at = cameFrom[at]) ++count;
            dimArray(path, count, 2);
            int i = count;
            for (int at = goal;; at = cameFrom[at]) {
                --i;
                path(i, 0) = at % width;
                path(i, 1) = at / width;
                if (at == start) break;
            }
            result.points = count;
            return result;
        }
        ++result.expansions;
        const int next[4][2] = {{x, y - 1}, {x + 1, y}, {x - 1, y}, {x, y + 1}};
        for (const auto& [nx, ny] : next) {
            if (nx < 0 || ny < 0 || nx >= width || ny >= height) continue;
            const int n = ny * width + nx;
            if (!(values[n] > 0)) continue;
            const float tentative = g + cost(n);
            const auto known = costSoFar.find(n);
            if (known != costSoFar.end() && known->second <= tentative) continue;
            costSoFar[n] = tentative;
            cameFrom[n] = cell;
            open.emplace(priority(tentative, nx, ny), n, tentative);
        }
    }
    dimArray(path, 0, 0);
    return result;
}

} // namespace tarvoke::bench
