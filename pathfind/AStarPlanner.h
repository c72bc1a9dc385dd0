// The best-first planner behind findPath. Its open list is a binary heap keyed by (priority,
// insertion number), which pops nodes in exactly the order of a list kept sorted by priority in
// which a node goes in front of all nodes of equal priority and the back is popped: the smallest
// priority first and, among equal ones, the node inserted (or re-inserted) earliest. A per-cell
// index finds a cell's node, open or closed, without searching.
#pragma once
#include <cstdint>
#include <vector>
#include "pathfind/Planner.h"

namespace tarvoke {

class AStarPlanner : public Planner {
public:
    AStarPlanner(const SearchParameters& parameters, const CostGrid& grid);

    void start();             // reset, then the start cell's node (g = 0) is the only open one
    bool search() override;   // until the goal is popped (true) or nothing is open (false)
    void cleanup() override;

private:
    // A node whose priority changes while open gets a new entry; the old one stays in the heap,
    // is recognised by its number no longer matching the node's, and is dropped when it surfaces.
    struct OpenEntry {
        float f;
        std::uint32_t node;     // index in the pool
        std::uint64_t number;   // insertion number: ties of f go to the smaller
    };
    static bool after(const OpenEntry& a, const OpenEntry& b) {
        return a.f > b.f || (a.f == b.f && a.number > b.number);
    }
    static constexpr std::uint64_t closedMark = ~std::uint64_t(0);

    void open(Node* node);    // a new entry for the node with the next insertion number
    Node* popLive();          // null when the heap holds no live entry
    void expand(Node* node);

    std::vector<OpenEntry> heap_;
    std::vector<std::uint32_t> cellNodes_;  // per cell: its node's pool index + 1, 0 for none
    std::uint64_t nextNumber_ = 0;
};

} // namespace tarvoke
