// 3D graphics as the engine's core drives it: start and stop, and the frame's reset. The
// subsystem owns Kestrel3D (reached through `kestrel3D`); only graphics3d touches its fields.
#pragma once

namespace tarvoke {

bool startGraphics3D();   // creates Kestrel3D on the 2D graphics singleton
// Deletes Kestrel3D; its GL objects go while the context exists, so this runs before 2D stops.
void stopGraphics3D();
void resetFrame3D();      // every frame starts with no shader

} // namespace tarvoke
