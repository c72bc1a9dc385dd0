// The heap-ordered best-first search.
#include "pathfind/AStarPlanner.h"
#include <algorithm>

namespace tarvoke {

AStarPlanner::AStarPlanner(const SearchParameters& parameters, const CostGrid& grid)
    : Planner(parameters, grid),
      cellNodes_(std::size_t(parameters.width) * std::size_t(parameters.height), 0) {}

void AStarPlanner::start() {
    if (pool_.used() != 0) cleanup();  // started before: forget that search
    reset();
    const std::int32_t x = parameters_.startX, y = parameters_.startY;
    Node* node = newNode(nullptr, x, y, 0.0f, priority(0.0f, x, y));
    cellNodes_[std::size_t(y) * std::size_t(parameters_.width) + std::size_t(x)] = pool_.indexOf(node) + 1;
    open(node);
}

void AStarPlanner::open(Node* node) {
    node->entry = nextNumber_++;
    heap_.push_back(OpenEntry{node->f, pool_.indexOf(node), node->entry});
    std::push_heap(heap_.begin(), heap_.end(), after);
}

Node* AStarPlanner::popLive() {
    while (!heap_.empty()) {
        std::pop_heap(heap_.begin(), heap_.end(), after);
        const OpenEntry top = heap_.back();
        heap_.pop_back();
        Node* node = pool_.node(top.node);
        if (node->entry == top.number) return node;
    }
    return nullptr;
}

bool AStarPlanner::search() {
    while (Node* node = popLive()) {
        node->entry = closedMark;
        if (isGoal(*node)) {
            goal_ = node;
            finished_ = true;
            return true;
        }
        ++expansions_;
        expand(node);
    }
    finished_ = true;
    return false;
}

// A neighbour without a node gets one; an open or closed one is re-entered in the open list
// only when this way to it is strictly cheaper.
void AStarPlanner::expand(Node* node) {
    forEachNeighbour(*node, [&](std::int32_t x, std::int32_t y, std::size_t cell, float g) {
        std::uint32_t& index = cellNodes_[cell];
        const float f = priority(g, x, y);
        if (index == 0) {
            Node* fresh = newNode(node, x, y, g, f);
            index = pool_.indexOf(fresh) + 1;
            open(fresh);
            return;
        }
        Node* known = pool_.node(index - 1);
        if (known->g <= g) return;
        known->parent = node;
        known->g = g;
        known->f = f;
        open(known);
    });
}

void AStarPlanner::cleanup() {
    heap_.clear();
    std::fill(cellNodes_.begin(), cellNodes_.end(), 0);
    nextNumber_ = 0;
    Planner::cleanup();
}

} // namespace tarvoke
