// Object drawing as graphics3d code shares it: which key frames a draw blends, the preparation
// step that computes normals and texture-space bases, the cel-shading texture, and the shadow
// volumes' edge data.
#pragma once
#include <cstdint>
#include <vector>
#include "graphics3d/Matrix4.h"
#include "graphics3d/MeshObjectX.h"
#include "tarvoke/scalars.h"

namespace tarvoke {

// ---- key frames
// The drawn vertices are the second frame's plus (first - second) x weight, for position and
// normal; a weight of 0 draws the first frame exactly.
struct FrameChoice {
    int first = 0;
    int second = 0;
    float weight = 0.0f;
};
// Frames a to b: without `range`, a blend of a (second) towards b (first) by t; with it, t runs
// from a to b (wrapped into 0..1 when outside) and picks the two neighbouring frames at that point.
FrameChoice chooseFrames(NumValue a, NumValue b, NumValue t, bool range);
// Both frames kept to 0..frameCount - 1 (negative to 0).
FrameChoice clampFrames(FrameChoice choice, int frameCount);

// ---- the preparation step
struct PreparationOptions {
    bool normals = true;   // face normals summed per vertex, unless the mesh's normals are valid
    bool smooth = false;   // vertices at the same quantised position share their sums
    bool basis = false;    // tangents and binormals from the texture coordinates (normal mapping)
};
// Computes what the options ask and is still missing, stores the nearest normal-table entries
// in every frame's vertices and rebuilds the triangles. False when there was nothing to do.
bool prepareMesh(MeshObjectX& mesh, PreparationOptions options);

// ---- cel shading
// A texture of the palette's colours (rows) by the ramp's brightness levels (columns).
void buildCelTexture(MeshObjectX& mesh, const std::vector<std::uint8_t>& ramp);

// ---- shadow volumes
// Welds frame 0's triangle corners to vertices and finds each edge's neighbour triangle.
void buildShadowEdges(MeshObjectX& mesh);
// Marks the silhouette edges of the frame's triangles as seen from `light` (object space):
// edges of triangles facing the light whose neighbour does not, or that have none. The
// facing flags, one per triangle, come back in `facing`.
void markSilhouettes(MeshObjectX& mesh, const Frame& frame, Vector3 light, std::vector<bool>& facing);
// Counts the frame's shadow volume into the stencil buffer, in the model-view of the moment.
void drawShadowVolume(MeshObjectX& mesh, const Frame& frame, Vector3 light);

} // namespace tarvoke
