// Which sprite textures drawing uses: texture unit 0, and unit 1 for two-texture drawing.
#pragma once

namespace tarvoke {

// Binds sprite `id` on texture unit 0 (its mipmapped copy when asked) and `secondId` on unit 1
// (-1: none); a negative or invalid id draws untextured.
void bindSprite(int id, int secondId, bool mipmapped);

} // namespace tarvoke
