// MeshObjectX: a mesh as the object table holds it: MeshObject's frames plus what drawing and
// the collision tests keep per mesh (vertex buffers, the cel-shading texture, shadow-volume edge
// data, collision trees) and, for meshes of a scene, which entries of the slot's texture list it
// is drawn with.
#pragma once
#include <cstdint>
#include <vector>
#include "graphics2d/GlTexture.h"
#include "graphics3d/GlBuffer.h"
#include "graphics3d/MeshObject.h"
#include "graphics3d/TriangleTree.h"

namespace tarvoke {

// One edge of a triangle of frame 0, for the shadow volumes: the triangle across it.
struct ShadowEdge {
    std::int32_t neighbour = -1;    // triangle index; -1: none
    std::uint8_t silhouette = 0;    // set while drawing when the edge outlines the shadow
};

class MeshObjectX : public MeshObject {
public:
    // Builds every frame's triangle array and sets the vertex-colour flag; the collision
    // trees of the old triangles go.
    bool build() override {
        collisionTrees.clear();
        return buildTriangles(*this);
    }
    // Also lets go of the buffers, the cel texture and the edge data.
    void clear() override;

    GlBuffer staticBuffer;               // frame 0 as loaded, filled once
    GlBuffer dynamicBuffer;              // vertices changed by a draw, filled again each time
    GlTexture celTexture;                // palette colours by brightness; empty: not built
    float celHeightReciprocal = 0.0f;    // 1 / the cel texture's height
    GrowableArray<std::int32_t> weldedVertices;  // per corner of frame 0: first equal vertex, -1 none
    GrowableArray<ShadowEdge> shadowEdges;       // per corner of frame 0: the edge it starts
    std::vector<TriangleTree> collisionTrees;    // per frame, built by the first collision test
    int firstTexture = -1;               // positions in the slot's texture list; -1: none
    int secondTexture = -1;
};

inline void MeshObjectX::clear() {
    MeshObject::clear();
    staticBuffer.reset();
    dynamicBuffer.reset();
    celTexture.reset();
    celHeightReciprocal = 0.0f;
    weldedVertices.clear();
    shadowEdges.clear();
    collisionTrees.clear();
    firstTexture = secondTexture = -1;
}

} // namespace tarvoke
