// One triangle against one shape: a sphere, an upright box or a ray. These are the exact tests
// every collision command runs per triangle, in the scene's coordinates; the searches that pick
// which triangles to test (all of them, or those a bounding tree finds near the shape) live in
// Collision.h. A triangle with a corner that is not a finite number never collides.
#pragma once
#include "graphics3d/Vector3.h"

namespace tarvoke {

struct Triangle {
    Vector3 a, b, c;  // corners in drawing order
};

// The sphere touches the triangle when it crosses the triangle's plane (closer than the radius)
// at a point the triangle's corners surround (their angles seen from that point add up to 99% of
// a full turn), or when some point of an edge lies closer than the radius to the centre.
bool sphereTouchesTriangle(const Triangle& triangle, Vector3 centre, float radius);

// An upright box: `half` holds half the width (x and z) and half the height (y). Touching when
// no axis separates the two: not x, y or z, not the triangle's normal, not the cross products
// of x, y and z with the triangle's edges. Shapes that only touch count.
bool boxTouchesTriangle(const Triangle& triangle, Vector3 centre, Vector3 half);

// The signed distance along the unit `direction` from `origin` to where the line meets the
// triangle (negative: behind the origin); 0 when it does not, or runs parallel to its plane.
float rayMeetsTriangle(const Triangle& triangle, Vector3 origin, Vector3 direction);

} // namespace tarvoke
