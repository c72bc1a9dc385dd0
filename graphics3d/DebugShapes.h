// Wire shapes that show collision volumes while a game is being developed.
#pragma once
#include <cstdint>
#include "graphics3d/Vector3.h"

namespace tarvoke {

// A sphere of 80 small triangles (an icosahedron's faces split in four), each drawn as a
// line loop; unlit, untextured, unblended.
void drawDebugSphere(Vector3 centre, float radius, std::uint32_t colour, float lineWidth);
// The 12 edges of the box whose corners are centre +- a +- b +- c.
void drawDebugBox(Vector3 centre, Vector3 a, Vector3 b, Vector3 c, std::uint32_t colour, float lineWidth);

} // namespace tarvoke
