// MeshObject: one vertex-animated triangle mesh as the model files hold it. Each key frame is a
// complete set of quantised vertex positions with normal and colour indices; texture
// coordinates and the colour palette are shared by all frames. Vertex k of every frame (markers
// counted) uses texture pair k. Marker vertices (palette values 0xFFFFFFFD..0xFFFFFFFF) are
// never drawn: they start a run of separate triangles, a strip or a fan.
// Plain data and free functions, no GL: the model readers, the converter tool and the fuzz
// targets use it as it is; MeshObjectX adds what drawing needs.
#pragma once
#include <cstddef>
#include <cstdint>
#include "graphics3d/Vector3.h"
#include "values/GrowableArray.h"

namespace tarvoke {

// ---- palette values
constexpr std::uint32_t lastRealColour = 0xFFFFFFFB;  // above this: drawn white
constexpr std::uint32_t whiteColour = 0x00FFFFFF;
constexpr std::uint32_t fanMarker = 0xFFFFFFFD;        // a convex polygon: first corner, then pairs
constexpr std::uint32_t stripMarker = 0xFFFFFFFE;      // a triangle strip
constexpr std::uint32_t trianglesMarker = 0xFFFFFFFF;  // separate triangles; also each frame's start

inline bool isMarker(std::uint32_t paletteValue) { return paletteValue >= fanMarker; }

// A vertex as a frame stores it (36 bytes).
struct CompactVertex {
    std::uint8_t x = 0, y = 0, z = 0;  // quantised position, 0..255 per axis
    std::uint8_t normalIndex = 0;      // into the normal table, below 162
    std::uint8_t tangentIndex = 0;     // normal-table index of the tangent (normal mapping); 0 after a load
    std::uint8_t binormalIndex = 0;    // likewise the binormal
    std::uint8_t work[26] = {};        // working space of the drawing code
    std::uint8_t colourIndex = 0;      // into the palette
    std::uint8_t spare[3] = {};
};
static_assert(sizeof(CompactVertex) == 36, "compact vertex records are 36 bytes");

// A vertex decoded for drawing (88 bytes).
struct ExpandedVertex {
    Vector3 position;
    Vector3 normal;
    float u = 0.0f, v = 0.0f;          // v as drawn: the stored value negated
    float lighting[3] = {};            // per-vertex light terms of the special lighting modes
    Vector3 tangent;                   // the normal of the tangent index
    Vector3 binormal;                  // the normal of the binormal index
    std::uint32_t rawColour = 0;       // the palette value, markers included
    std::uint8_t colourIndex = 0;
    std::uint8_t padding[3] = {};
    float red = 1.0f, green = 1.0f, blue = 1.0f;  // 0..1
};
static_assert(sizeof(ExpandedVertex) == 88, "expanded vertex records are 88 bytes");

// One key frame.
struct Frame {
    GrowableArray<CompactVertex> compact;     // the vertices, markers included
    GrowableArray<ExpandedVertex> expanded;   // decoded vertices, only when a reader is asked for them
    GrowableArray<ExpandedVertex> triangles;  // three corners a triangle, built from `compact`
    Vector3 offset;                            // position = scale x (quantised - offset)
    Vector3 scale;
    float radius = 0.0f;                       // bounding sphere of `triangles`
    Vector3 centre;
};

enum class ModelStatus {
    Loaded,
    WrongVersion,  // a version the readers do not know
    ReadError,     // the file ends early or holds what no model can
    OutOfMemory,
};

class MeshObject {
public:
    MeshObject() = default;
    virtual ~MeshObject() = default;
    MeshObject(MeshObject&&) noexcept = default;
    MeshObject& operator=(MeshObject&&) noexcept = default;

    // Runs once after a model has been loaded: nothing here; MeshObjectX builds its triangles.
    // False when memory ran out.
    virtual bool build() { return true; }
    // Empties and frees every array and clears both flags.
    virtual void clear();

    GrowableArray<Frame> frames;
    GrowableArray<ExpandedVertex> work;        // scratch of the drawing code
    GrowableArray<float> textureU;             // one per vertex position
    GrowableArray<float> textureV;             // as stored; drawn negated
    GrowableArray<std::uint32_t> palette;      // 0x00BBGGRR colours and marker values
    bool normalsValid = false;                 // the normal indices are meant as given
    bool hasVertexColours = false;             // some palette entry is a real colour other than white

    // The palette value of a colour index; an index past the palette reads as white.
    std::uint32_t paletteValue(std::uint8_t index) const {
        return index < palette.count() ? palette[index] : whiteColour;
    }
};

// Vertex k of the frame, decoded: position, the three normals, texture pair k (v negated;
// (0, 0) past the stored pairs), the palette value and its colour (white for values above
// 0xFFFFFFFB).
ExpandedVertex decodeVertex(const MeshObject& mesh, const Frame& frame, std::size_t k);

// Walks one frame by the marker rules and calls emit(a, b, c) with the vertex positions of each
// triangle's corners, in drawing order. Strips alternate which held corner the next one replaces,
// so every triangle keeps the winding of the first.
template <typename Emit>
void forEachTriangle(const MeshObject& mesh, const Frame& frame, Emit emit) {
    enum class Primitive { Triangles, Strip, Fan };
    Primitive mode = Primitive::Triangles;
    std::size_t corners[3] = {0, 0, 0};
    int held = 0;
    int parity = 0;
    for (std::size_t k = 0; k < frame.compact.count(); ++k) {
        const std::uint32_t value = mesh.paletteValue(frame.compact[k].colourIndex);
        if (isMarker(value)) {
            mode = value == stripMarker ? Primitive::Strip : value == fanMarker ? Primitive::Fan : Primitive::Triangles;
            held = 0;
            if (mode == Primitive::Strip) parity = 0;
            continue;
        }
        corners[held++] = k;
        if (held < 3) continue;
        emit(corners[0], corners[1], corners[2]);
        if (mode == Primitive::Triangles) {
            held = 0;
        } else if (mode == Primitive::Fan) {
            held = 2;
            corners[1] = corners[2];
        } else {
            held = 2;
            parity ^= 1;
            corners[parity == 1 ? 0 : 1] = corners[2];
        }
    }
}

// Walks every frame's vertices by the marker rules into its triangle array (three corners a
// triangle; strips keep one winding) and sets the vertex-colour flag. False when out of memory.
bool buildTriangles(MeshObject& mesh);

// Per frame: centre = the mean of its triangle corners, radius = the farthest corner's distance
// (a squared distance of at most 1e-7 counts as 0); a frame without triangles gets 0 and 0.
void computeBoundingSpheres(MeshObject& mesh);

// Quantises expanded records (markers included) into the frame's compact vertices: offset and
// scale from the bounds of the real vertices, the nearest normal-table entry, the colour's
// palette position (appended when new). The first frame also appends every record's u and v,
// as they are, to the texture arrays. ReadError when the palette would need more than 256
// colours.
ModelStatus quantiseFrame(MeshObject& mesh, Frame& frame, const ExpandedVertex* records, std::size_t count,
                          bool firstFrame);

} // namespace tarvoke
