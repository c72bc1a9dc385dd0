// The chained closed set. A lookup remembers the link to the node it found, so that removing
// that node right after needs no second walk along the chain.
#include "pathfind/NodeHashTable.h"
#include <algorithm>

namespace tarvoke {

NodeHashTable::NodeHashTable(int bits)
    : bits_(std::clamp(bits, 0, maxBits) & ~1),
      mask_((std::uint32_t(1) << (bits_ / 2)) - 1),
      buckets_(new Node*[std::size_t(1) << bits_]()) {}

Node* NodeHashTable::find(std::int32_t x, std::int32_t y) {
    for (Node** link = &buckets_[bucketOf(x, y)]; *link; link = &(*link)->next) {
        if ((*link)->x == x && (*link)->y == y) {
            lastHit_ = link;
            return *link;
        }
    }
    return nullptr;
}

void NodeHashTable::insert(Node* node) {
    Node*& head = buckets_[bucketOf(node->x, node->y)];
    if (head == node) return;
    node->next = head;
    head = node;
}

// The remembered link is trusted only while it still points at the node: an insertion into the
// same bucket since the lookup moves the chain's head.
void NodeHashTable::remove(Node* node) {
    Node** link = lastHit_;
    if (!link || *link != node) {
        link = &buckets_[bucketOf(node->x, node->y)];
        while (*link && *link != node) link = &(*link)->next;
        if (!*link) return;
    }
    *link = node->next;
    lastHit_ = nullptr;
}

void NodeHashTable::clear() {
    std::fill(buckets_.get(), buckets_.get() + (std::size_t(1) << bits_), nullptr);
    lastHit_ = nullptr;
}

} // namespace tarvoke
