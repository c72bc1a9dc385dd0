// Search nodes and the pool they come from. One node stands for one grid cell and is updated in
// place when a cheaper way to its cell turns up, so a pool of one node per cell always suffices.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

namespace tarvoke {

struct Node {
    Node* parent;          // the cell this one is reached from; null for the start
    std::int32_t x, y;     // the cell
    float f;               // priority: the smallest is expanded first
    float g;               // cost of the path from the start
    Node* next;            // next node in the same closed-set bucket
    std::uint64_t entry;   // AStarPlanner: number of the node's live open-list entry, or closed
};

// All nodes are allocated at once and handed out in order; they are never returned one by one.
// Handing them out in order keeps the nodes in use together in memory however far apart their
// cells lie.
class NodeFactory {
public:
    explicit NodeFactory(std::size_t capacity) : capacity_(capacity), nodes_(new Node[capacity]) {}

    Node* newNode() { return nextFree_ < capacity_ ? &nodes_[nextFree_++] : nullptr; }  // null: used up
    void rewind() { nextFree_ = 0; }           // every node free again
    std::size_t capacity() const { return capacity_; }
    std::size_t used() const { return nextFree_; }
    Node* node(std::size_t index) const { return &nodes_[index]; }  // index < used()
    std::uint32_t indexOf(const Node* node) const { return std::uint32_t(node - nodes_.get()); }

private:
    std::size_t capacity_;
    std::unique_ptr<Node[]> nodes_;  // not initialised: pages are touched only when used
    std::size_t nextFree_ = 0;
};

} // namespace tarvoke
