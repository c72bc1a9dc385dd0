// The planner family's common part: the search parameters, the cost grid, the node pool and the
// outcome. A concrete planner adds its open list and closed set and implements `search`.
// A planner lives for one path query.
#pragma once
#include <cstdint>
#include <cstdlib>
#include "pathfind/CostGrid.h"
#include "pathfind/Node.h"

namespace tarvoke {

struct SearchParameters {
    std::int32_t startX = 0, startY = 0;
    std::int32_t goalX = 0, goalY = 0;
    bool diagonalCost = false;  // a diagonal step costs the cell's cost times the square root of 2
    bool diagonals = false;     // eight neighbours instead of four
    std::size_t poolSize = 0;     // nodes allocated up front
    std::size_t openCapacity = 0; // most nodes the open list can hold
    int hashBits = 8;             // closed-set size of the planners that hash it
    float weight = 0.5f;          // 0: cost so far only; 1: distance to the goal only
    std::int32_t width = 0, height = 0;
};

class Planner {
public:
    // The grid has the parameters' width x height cells and must outlive the planner.
    Planner(const SearchParameters& parameters, const CostGrid& grid);
    virtual ~Planner() = default;
    Planner(const Planner&) = delete;
    Planner& operator=(const Planner&) = delete;

    virtual void reset();       // not finished, nothing expanded, no goal node; the pool rewound
    virtual bool search() = 0;  // true when the goal was reached
    virtual void cleanup();     // open list and closed set emptied, no goal node, finished

    const Node* goalNode() const { return goal_; }  // the goal's node once reached, else null
    std::uint64_t expansions() const { return expansions_; }
    bool finished() const { return finished_; }
    const NodeFactory& pool() const { return pool_; }
    const SearchParameters& parameters() const { return parameters_; }

    // Priority of a cell reached at cost g: g + weight (h - g) with h the Manhattan distance to
    // the goal, all in single precision so that equal priorities stay exactly equal.
    float priority(float g, std::int32_t x, std::int32_t y) const {
        const std::int64_t h = std::llabs(std::int64_t(parameters_.goalX) - x) + std::llabs(std::int64_t(parameters_.goalY) - y);
        return g + parameters_.weight * (float(h) - g);
    }

    // Calls visit(x, y, cell index, g) for each open neighbour of the node in the fixed order
    // up-left, up, up-right, right, left, down-left, down, down-right (diagonals only when allowed).
    template <typename Visit>
    void forEachNeighbour(const Node& node, Visit&& visit) const;

protected:
    bool isGoal(const Node& node) const { return node.x == parameters_.goalX && node.y == parameters_.goalY; }
    Node* newNode(Node* parent, std::int32_t x, std::int32_t y, float g, float f);  // from the pool

    bool finished_ = false;
    NodeFactory pool_;
    SearchParameters parameters_;
    CostGrid grid_;
    std::uint64_t expansions_ = 0;
    Node* goal_ = nullptr;
};

template <typename Visit>
void Planner::forEachNeighbour(const Node& node, Visit&& visit) const {
    struct Step {
        std::int32_t dx, dy;
        bool diagonal;
    };
    static constexpr Step steps[8] = {{-1, -1, true}, {0, -1, false}, {1, -1, true}, {1, 0, false},
                                      {-1, 0, false}, {-1, 1, true}, {0, 1, false}, {1, 1, true}};
    constexpr float squareRootOf2 = 1.4142137f;
    for (const Step& step : steps) {
        if (step.diagonal && !parameters_.diagonals) continue;
        const std::int32_t x = node.x + step.dx, y = node.y + step.dy;
        if (std::uint32_t(x) >= std::uint32_t(parameters_.width) || std::uint32_t(y) >= std::uint32_t(parameters_.height))
            continue;
        const std::size_t cell = std::size_t(y) * std::size_t(parameters_.width) + std::size_t(x);
        const float cost = grid_.cost(cell);
        if (cost < 0) continue;
        const float g = node.g + (step.diagonal && parameters_.diagonalCost ? cost * squareRootOf2 : cost);
        visit(x, y, cell, g);
    }
}

} // namespace tarvoke
