// 3D graphics as the engine's core drives it: start and stop, and the frame's end and reset. The
// subsystem owns Kestrel3D (reached through `kestrel3D`); only graphics3d touches its fields.
#pragma once

namespace tarvoke {

bool startGraphics3D();   // creates Kestrel3D on the 2D graphics singleton
// Deletes Kestrel3D; its GL objects go while the context exists, so this runs before 2D stops.
void stopGraphics3D();
// Before a frame is shown: a shadow pass still open darkens what its shadow volumes marked.
void leaveShadowPass3D();
void resetFrame3D();      // every frame starts with no shader and unmipmapped object textures

// setViewport (graphics2d) leaves the shadow pass through a hook that start registers and stop
// takes back; graphics2d itself never calls into 3D.
void registerViewportHook3D(bool registered);

} // namespace tarvoke
