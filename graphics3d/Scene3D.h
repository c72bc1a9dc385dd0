// What the 3D scene's files share: the shadow pass, the culling and texturing of drawn objects,
// colours, and the small GL state guards the drawing code uses.
#pragma once
#include <GL/gl.h>
#include <cstdint>
#include "graphics3d/SceneState.h"
#include "tarvoke/scalars.h"

namespace tarvoke {

// ---- the shadow pass (shadow volumes counted in the stencil buffer)
// Colour and depth writes off, stencil test on; the stencil is cleared when the pass begins.
void enterShadowPass(SceneState& scene);
// Darkens every pixel whose stencil value is not 0 by half, then restores normal drawing.
void leaveShadowPass(SceneState& scene);

// ---- objects
void applyCulling(int mode);                  // GL's face culling for a culling mode (-1, 0, 1)
void bindObjectTextures(const SceneState& scene);  // the object sprites, as setObjectTexture chose
void setWhite();                              // the current colour: white at the global alpha

// ---- colours: 0x00BBGGRR given as numbers
// The colour's 32 bits: values beyond the signed range (0xFFFFFFFC as 4294967292) count too.
std::uint32_t colourBits(NumValue colour);
void setColour(std::uint32_t colour, float alpha);  // red, green and blue bytes / 255

// Switches a capability off (or on) for its lifetime and puts it back as it was.
class CapabilityGuard {
public:
    CapabilityGuard(GLenum capability, bool wanted);
    ~CapabilityGuard();
    CapabilityGuard(const CapabilityGuard&) = delete;
    CapabilityGuard& operator=(const CapabilityGuard&) = delete;

private:
    GLenum capability_;
    bool wasOn_;
};

} // namespace tarvoke
