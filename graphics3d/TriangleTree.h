// TriangleTree: a bounding-box tree over the triangles of one frame, in the object's own
// coordinates, so that a collision test looks only at the triangles near its shape instead of
// all of them. It only narrows the search: every triangle it finds is then tested exactly as
// the plain search over all triangles tests it. Built on the first test of a frame and kept
// until the mesh is built again or cleared.
#pragma once
#include <cstdint>
#include <vector>
#include "graphics3d/MeshObject.h"

namespace tarvoke {

struct Bounds {
    Vector3 low, high;
};

class TriangleTree {
public:
    // Over the frame's triangle array (three corners a triangle). Triangles with a corner that
    // is not a finite number are left out: they never collide.
    void build(const Frame& frame);
    bool built() const { return built_; }
    // The longest triangle edge of the frame, for how far from a triangle a test may still
    // count as touching it.
    float longestEdge() const { return longestEdge_; }
    // The bounds of all its triangles; zeros when it holds none.
    Bounds extent() const { return nodes_.empty() ? Bounds{} : nodes_[0].bounds; }

    // Calls visit(triangle index) for each triangle whose bounds, widened by `margin`, meet
    // `area`, until a visit returns true; true then.
    template <typename Visit>
    bool anyNear(const Bounds& area, float margin, Visit visit) const;

    // Calls visit(triangle index) for each triangle whose bounds, widened by `margin`, the line
    // origin + t x direction crosses for some t that `wanted(tLow, tHigh)` accepts; `wanted`
    // may change as the visits find hits.
    template <typename Wanted, typename Visit>
    void alongLine(Vector3 origin, Vector3 direction, float margin, Wanted wanted, Visit visit) const;

private:
    struct Node {
        Bounds bounds;
        std::uint32_t first = 0;  // leaf: first entry of `order`; inner: the second child
        std::uint32_t count = 0;  // leaf: its triangles; 0: inner, the first child follows it
    };
    std::uint32_t buildNode(std::vector<Bounds>& boxes, std::uint32_t begin, std::uint32_t end);
    // Where the line enters and leaves the node's widened bounds; false when it misses them.
    static bool crossing(const Bounds& b, float margin, Vector3 origin, Vector3 inverse, float& enter, float& leave);

    std::vector<Node> nodes_;
    std::vector<std::uint32_t> order_;  // triangle indices, leaf by leaf
    float longestEdge_ = 0.0f;
    bool built_ = false;
};

inline bool meets(const Bounds& a, const Bounds& b, float margin) {
    return a.low.x <= b.high.x + margin && a.high.x >= b.low.x - margin && a.low.y <= b.high.y + margin &&
           a.high.y >= b.low.y - margin && a.low.z <= b.high.z + margin && a.high.z >= b.low.z - margin;
}

template <typename Visit>
bool TriangleTree::anyNear(const Bounds& area, float margin, Visit visit) const {
    if (nodes_.empty()) return false;
    std::uint32_t stack[64];
    int top = 0;
    stack[top++] = 0;
    while (top > 0) {
        const std::uint32_t index = stack[--top];
        const Node& node = nodes_[index];
        if (!meets(area, node.bounds, margin)) continue;
        if (node.count == 0) {
            stack[top++] = node.first;
            stack[top++] = index + 1;
            continue;
        }
        for (std::uint32_t i = node.first; i < node.first + node.count; ++i)
            if (visit(order_[i])) return true;
    }
    return false;
}

template <typename Wanted, typename Visit>
void TriangleTree::alongLine(Vector3 origin, Vector3 direction, float margin, Wanted wanted, Visit visit) const {
    if (nodes_.empty()) return;
    const Vector3 inverse{1.0f / direction.x, 1.0f / direction.y, 1.0f / direction.z};
    std::uint32_t stack[64];
    int top = 0;
    stack[top++] = 0;
    while (top > 0) {
        const std::uint32_t index = stack[--top];
        const Node& node = nodes_[index];
        float enter = 0.0f, leave = 0.0f;
        if (!crossing(node.bounds, margin, origin, inverse, enter, leave) || !wanted(enter, leave)) continue;
        if (node.count == 0) {
            stack[top++] = node.first;
            stack[top++] = index + 1;
            continue;
        }
        for (std::uint32_t i = node.first; i < node.first + node.count; ++i) visit(order_[i]);
    }
}

} // namespace tarvoke
