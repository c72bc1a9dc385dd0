// Which sprite textures drawing uses: texture unit 0, and unit 1 for two-texture drawing.
#pragma once
#include <GL/gl.h>

namespace tarvoke {

// Binds sprite `id` on texture unit 0 (its mipmapped copy when asked) and `secondId` on unit 1
// (-1: none); a negative or invalid id draws untextured.
void bindSprite(int id, int secondId, bool mipmapped);
// Binds texture names that belong to no sprite slot (a 3D scene's own pictures, a cel-shading
// ramp): `first` on unit 0, `second` on unit 1; 0 switches that unit's texturing off. Without
// multitexturing only `first` is bound.
void bindTextureNames(GLuint first, GLuint second);
// The same for unit 1 alone; unit 0 keeps what it has.
void bindSecondUnitTexture(GLuint name);

} // namespace tarvoke
