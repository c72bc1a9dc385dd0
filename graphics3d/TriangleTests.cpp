#include "graphics3d/TriangleTests.h"
#include <algorithm>
#include <cmath>

namespace tarvoke {
namespace {

// 99% of a full turn: a point this close to being surrounded counts as inside, so that a sphere
// centred over a shared edge hits one of the two triangles however the sum rounds.
constexpr float insideAngleSum = 6.2203536f;

// A vector in doubles, for the ray test.
struct Exact {
    double x, y, z;
};
Exact exact(Vector3 v) { return {v.x, v.y, v.z}; }
Exact operator+(Exact a, Exact b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Exact operator-(Exact a, Exact b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Exact operator*(Exact a, double f) { return {a.x * f, a.y * f, a.z * f}; }
double dot(Exact a, Exact b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Exact cross(Exact a, Exact b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

bool isFinite(Vector3 v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }
bool isFinite(const Triangle& t) { return isFinite(t.a) && isFinite(t.b) && isFinite(t.c); }

// The angle between two vectors; 0 when either is too short to have a direction.
float angleBetween(Vector3 u, Vector3 v) {
    const float lengths = length(u) * length(v);
    if (lengths <= 1e-8f) return 0.0f;
    return std::acos(std::clamp(dot(u, v) / lengths, -1.0f, 1.0f));
}

bool surrounds(const Triangle& t, Vector3 point) {
    const Vector3 a = t.a - point, b = t.b - point, c = t.c - point;
    return angleBetween(a, b) + angleBetween(b, c) + angleBetween(c, a) >= insideAngleSum;
}

float squaredDistanceToSegment(Vector3 point, Vector3 from, Vector3 to) {
    const Vector3 along = to - from;
    const float squared = dot(along, along);
    const float t = squared > 0.0f ? std::clamp(dot(point - from, along) / squared, 0.0f, 1.0f) : 0.0f;
    const Vector3 gap = point - (from + along * t);
    return dot(gap, gap);
}

// The triangle's corners (relative to the box centre) projected on `axis` overlap the box's
// projection there. Written as an overlap, so a NaN separates.
bool overlapsOn(Vector3 axis, Vector3 a, Vector3 b, Vector3 c, Vector3 half) {
    const float pa = dot(axis, a), pb = dot(axis, b), pc = dot(axis, c);
    const float reach = std::fabs(axis.x) * half.x + std::fabs(axis.y) * half.y + std::fabs(axis.z) * half.z;
    return std::min({pa, pb, pc}) <= reach && std::max({pa, pb, pc}) >= -reach;
}

} // namespace

bool sphereTouchesTriangle(const Triangle& t, Vector3 centre, float radius) {
    if (!isFinite(t)) return false;
    const Vector3 normal = normalised(cross(t.c - t.a, t.b - t.a));
    const float distance = dot(normal, centre) - dot(normal, t.a);
    if (!(std::fabs(distance) < radius)) return false;
    if (surrounds(t, centre - normal * distance)) return true;
    const float squaredRadius = radius * radius;
    return squaredDistanceToSegment(centre, t.a, t.b) < squaredRadius ||
           squaredDistanceToSegment(centre, t.b, t.c) < squaredRadius ||
           squaredDistanceToSegment(centre, t.c, t.a) < squaredRadius;
}

bool boxTouchesTriangle(const Triangle& t, Vector3 centre, Vector3 half) {
    if (!isFinite(t)) return false;
    const Vector3 a = t.a - centre, b = t.b - centre, c = t.c - centre;
    const Vector3 axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    const Vector3 edges[3] = {b - a, c - b, a - c};
    for (const Vector3& axis : axes)
        if (!overlapsOn(axis, a, b, c, half)) return false;
    if (!overlapsOn(cross(edges[0], edges[1]), a, b, c, half)) return false;
    for (const Vector3& axis : axes)
        for (const Vector3& edge : edges)
            if (!overlapsOn(cross(axis, edge), a, b, c, half)) return false;
    return true;
}

// In doubles: for a long thin triangle the barycentric coordinates come from a difference of
// nearly equal products, and in floats rounding alone can count a point far outside it as
// inside.
float rayMeetsTriangle(const Triangle& t, Vector3 origin, Vector3 direction) {
    if (!isFinite(t)) return 0.0f;
    const Exact a = exact(t.a), e1 = exact(t.b) - a, e2 = exact(t.c) - a, along = exact(direction);
    const Exact normal = cross(e1, e2);
    const double facing = dot(normal, along);
    if (facing == 0.0 || dot(normal, normal) == 0.0) return 0.0f;
    const double distance = -dot(normal, exact(origin) - a) / facing;
    const Exact fromA = exact(origin) + along * distance - a;
    const double d11 = dot(e1, e1), d12 = dot(e1, e2), d22 = dot(e2, e2);
    const double p1 = dot(fromA, e1), p2 = dot(fromA, e2);
    const double denominator = d11 * d22 - d12 * d12;
    const double u = (d22 * p1 - d12 * p2) / denominator;
    const double v = (d11 * p2 - d12 * p1) / denominator;
    return u >= 0.0 && v >= 0.0 && u + v <= 1.0 ? float(distance) : 0.0f;
}

} // namespace tarvoke
