// The planner family's common operations.
#include "pathfind/Planner.h"
#include <new>

namespace tarvoke {

Planner::Planner(const SearchParameters& parameters, const CostGrid& grid)
    : pool_(parameters.poolSize), parameters_(parameters), grid_(grid) {}

// Rewinding the pool lets a planner be started again without running out of nodes.
void Planner::reset() {
    finished_ = false;
    expansions_ = 0;
    goal_ = nullptr;
    pool_.rewind();
}

void Planner::cleanup() {
    goal_ = nullptr;
    finished_ = true;
}

// The pool holds one node per cell, and a cell never gets a second node, so it cannot run dry
// on a grid of poolSize cells; a smaller pool is a caller's mistake.
Node* Planner::newNode(Node* parent, std::int32_t x, std::int32_t y, float g, float f) {
    Node* node = pool_.newNode();
    if (!node) throw std::bad_alloc();
    *node = Node{parent, x, y, f, g, nullptr, 0};
    return node;
}

} // namespace tarvoke
