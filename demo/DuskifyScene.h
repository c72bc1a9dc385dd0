// The Duskify demo's scene: set up once, then one frame at given timer readings. The demo's
// main routine reads the timer; tests and benchmarks call these with the readings they choose.
#pragma once
#include <tarvoke.h>

namespace duskify {

constexpr int tileSprite = 0;      // the spinning tile
constexpr int grabBuffer = 1000;   // the post-processing copy
constexpr int duskShader = 0;

void setUpScene();
// zoom = sin(zoomTime / 37 degrees) + 1, angle = angleTime / 20 degrees.
void drawFrame(tarvoke::NumValue zoomTime, tarvoke::NumValue angleTime, bool withShader = true);

} // namespace duskify
