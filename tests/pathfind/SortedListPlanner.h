// The straightforward planner AStarPlanner must match step for step: the open list kept sorted
// by priority, largest at the front, in a FixedDeque; a new node goes in front of every node of
// equal priority, found by binary search, and the back is popped. An open cell is found by
// scanning the list from the back; the closed set is a NodeHashTable. Shared by the tests and
// the benchmark.
#pragma once
#include "pathfind/FixedDeque.h"
#include "pathfind/NodeHashTable.h"
#include "pathfind/Planner.h"

namespace tarvoke::test {

class SortedListPlanner : public Planner {
public:
    SortedListPlanner(const SearchParameters& parameters, const CostGrid& grid)
        : Planner(parameters, grid), open_(parameters.openCapacity), closed_(parameters.hashBits) {}

    void start() {
        reset();
        const std::int32_t x = parameters_.startX, y = parameters_.startY;
        open_.pushBack(newNode(nullptr, x, y, 0.0f, priority(0.0f, x, y)));
    }

    bool search() override {
        while (!open_.empty()) {
            Node* node = open_.popBack();
            if (isGoal(*node)) {
                closed_.insert(node);
                goal_ = node;
                return true;
            }
            ++expansions_;
            forEachNeighbour(*node, [&](std::int32_t x, std::int32_t y, std::size_t, float g) { visit(node, x, y, g); });
            closed_.insert(node);
        }
        return false;
    }

    std::uint64_t reopenings() const { return reopenings_; }  // closed nodes put back in the open list

private:
    // A closed node, else an open one (scanned for from the back), is taken out and put back
    // only for a strictly cheaper way; a cell without a node gets a new one.
    void visit(Node* parent, std::int32_t x, std::int32_t y, float g) {
        Node* known = closed_.find(x, y);
        if (known) {
            if (known->g <= g) return;
            closed_.remove(known);
            ++reopenings_;
        } else {
            std::size_t i = open_.size();
            while (i > 0 && (open_.at(i - 1)->x != x || open_.at(i - 1)->y != y)) --i;
            if (i > 0) {
                known = open_.at(i - 1);
                if (known->g <= g) return;
                open_.erase(i - 1);
            }
        }
        if (!known) known = newNode(parent, x, y, g, 0);
        known->parent = parent;
        known->g = g;
        known->f = priority(g, x, y);
        insertSorted(known);
    }

    // The first position from the front whose priority is at most the node's.
    void insertSorted(Node* node) {
        std::size_t low = 0, high = open_.size();
        while (low < high) {
            const std::size_t middle = (low + high) / 2;
            if (open_.at(middle)->f <= node->f) high = middle;
            else low = middle + 1;
        }
        open_.insert(low, node);
    }

    FixedDeque<Node*> open_;
    NodeHashTable closed_;
    std::uint64_t reopenings_ = 0;
};

} // namespace tarvoke::test
