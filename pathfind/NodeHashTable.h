// A set of nodes hashed by their cells, chained through the nodes' own `next` field: the closed
// set of the planner that keeps its open list sorted. 2^b buckets; the bucket of (x, y) takes the
// low b/2 bits of x and, above them, the low b/2 bits of y.
#pragma once
#include <cstdint>
#include <memory>
#include "pathfind/Node.h"

namespace tarvoke {

class NodeHashTable {
public:
    static constexpr int maxBits = 24;

    explicit NodeHashTable(int bits);  // capped at 24 and rounded down to an even number

    Node* find(std::int32_t x, std::int32_t y);  // null when the cell has no node here
    void insert(Node* node);                    // at the head of its chain; must not be in another
    void remove(Node* node);                    // unlinks it; nothing when it is not here
    void clear();
    int bits() const { return bits_; }

private:
    std::size_t bucketOf(std::int32_t x, std::int32_t y) const {
        return std::size_t(std::uint32_t(x) & mask_) | (std::size_t(std::uint32_t(y) & mask_) << (bits_ / 2));
    }

    int bits_;
    std::uint32_t mask_;
    std::unique_ptr<Node*[]> buckets_;
    Node** lastHit_ = nullptr;  // the link that pointed to the last node found
};

} // namespace tarvoke
