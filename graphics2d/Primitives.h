// Untextured primitives (rectangles, lines, points, polygons' outlines) share one setup.
#pragma once
#include <cstdint>

namespace tarvoke {

// Runs `draw` as a primitive: alpha test off, untextured, the colour (alpha 0 for the sprite
// colour key, else the global alpha), the projection shifted by 3/8 pixel so that integer
// coordinates hit pixel centres; restores white at the global alpha afterwards.
template <typename Draw>
void drawPrimitive(std::int32_t colour, Draw draw);
void beginPrimitive(std::int32_t colour);
void endPrimitive();

template <typename Draw>
void drawPrimitive(std::int32_t colour, Draw draw) {
    beginPrimitive(colour);
    draw();
    endPrimitive();
}

} // namespace tarvoke
