#include "graphics3d/TriangleTree.h"
#include <algorithm>
#include <cmath>
#include <limits>

namespace tarvoke {
namespace {

constexpr std::uint32_t leafSize = 4;

Vector3 lower(Vector3 a, Vector3 b) { return {std::min(a.x, b.x), std::min(a.y, b.y), std::min(a.z, b.z)}; }
Vector3 higher(Vector3 a, Vector3 b) { return {std::max(a.x, b.x), std::max(a.y, b.y), std::max(a.z, b.z)}; }
Bounds unite(const Bounds& a, const Bounds& b) { return {lower(a.low, b.low), higher(a.high, b.high)}; }
float component(Vector3 v, int axis) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; }

bool isFinite(Vector3 v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

} // namespace

void TriangleTree::build(const Frame& frame) {
    nodes_.clear();
    order_.clear();
    longestEdge_ = 0.0f;
    const std::size_t count = frame.triangles.count() / 3;
    std::vector<Bounds> boxes(count);
    order_.reserve(count);
    for (std::size_t t = 0; t < count; ++t) {
        const Vector3 a = frame.triangles[t * 3].position, b = frame.triangles[t * 3 + 1].position,
                      c = frame.triangles[t * 3 + 2].position;
        if (!isFinite(a) || !isFinite(b) || !isFinite(c)) continue;
        boxes[t] = {lower(lower(a, b), c), higher(higher(a, b), c)};
        longestEdge_ = std::max({longestEdge_, length(b - a), length(c - b), length(a - c)});
        order_.push_back(std::uint32_t(t));
    }
    if (!order_.empty()) {
        nodes_.reserve(order_.size() / leafSize * 2 + 1);
        buildNode(boxes, 0, std::uint32_t(order_.size()));
    }
    built_ = true;
}

// Splits at the median centre along the longest side, so the depth stays near log2(n / 4) and
// the fixed search stacks (64 entries) always suffice.
std::uint32_t TriangleTree::buildNode(std::vector<Bounds>& boxes, std::uint32_t begin, std::uint32_t end) {
    const std::uint32_t index = std::uint32_t(nodes_.size());
    nodes_.emplace_back();
    Bounds bounds = boxes[order_[begin]];
    for (std::uint32_t i = begin + 1; i < end; ++i) bounds = unite(bounds, boxes[order_[i]]);
    nodes_[index].bounds = bounds;
    if (end - begin <= leafSize) {
        nodes_[index].first = begin;
        nodes_[index].count = end - begin;
        return index;
    }
    const Vector3 size = bounds.high - bounds.low;
    const int axis = size.x >= size.y && size.x >= size.z ? 0 : size.y >= size.z ? 1 : 2;
    const std::uint32_t middle = begin + (end - begin) / 2;
    auto centre = [&](std::uint32_t t) { return component(boxes[t].low, axis) + component(boxes[t].high, axis); };
    std::nth_element(order_.begin() + begin, order_.begin() + middle, order_.begin() + end,
                     [&](std::uint32_t a, std::uint32_t b) { return centre(a) < centre(b); });
    buildNode(boxes, begin, middle);
    const std::uint32_t second = buildNode(boxes, middle, end);
    nodes_[index].first = second;
    return index;
}

// The slab test; a direction component of 0 gives an infinite reciprocal, and the line then
// crosses that slab for every t or for none.
bool TriangleTree::crossing(const Bounds& b, float margin, Vector3 origin, Vector3 inverse, float& enter, float& leave) {
    enter = -std::numeric_limits<float>::infinity();
    leave = std::numeric_limits<float>::infinity();
    const float o[3] = {origin.x, origin.y, origin.z}, r[3] = {inverse.x, inverse.y, inverse.z};
    const float low[3] = {b.low.x - margin, b.low.y - margin, b.low.z - margin};
    const float high[3] = {b.high.x + margin, b.high.y + margin, b.high.z + margin};
    for (int axis = 0; axis < 3; ++axis) {
        if (std::isinf(r[axis])) {
            if (o[axis] < low[axis] || o[axis] > high[axis]) return false;
            continue;
        }
        float t0 = (low[axis] - o[axis]) * r[axis], t1 = (high[axis] - o[axis]) * r[axis];
        if (t0 > t1) std::swap(t0, t1);
        enter = std::max(enter, t0);
        leave = std::min(leave, t1);
    }
    return enter <= leave;
}

} // namespace tarvoke
