// The background picture (tiled image 0) and the other tiled images as they are drawn.
#pragma once

namespace tarvoke {

// Draws tiled image `index` from the drawing area's top-left corner; the frame loop paints
// the background this way into every new frame.
void drawTiledImage(int index);

} // namespace tarvoke
