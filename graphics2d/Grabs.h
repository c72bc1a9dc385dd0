// Copies of the screen: into sprites, into tiled images, single pixels; and the colour key as
// the frame buffer shows it.
#pragma once
#include "graphics2d/ImageFiles.h"

namespace tarvoke {

// The key drawn at (4, 4) and read back, the pixel put back afterwards; no key (0 or -1): not present.
KeyProbe probeKeyColour();
// Copies the screen area into the sprite slot; false when the area is empty or too large.
bool grabIntoSprite(int id, int x, int y, int width, int height);
// Copies the whole screen into tiled image `index` (0 is the background).
void grabIntoTiledImage(int index);

} // namespace tarvoke
