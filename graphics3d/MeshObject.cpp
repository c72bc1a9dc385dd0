// Decoding compact vertices, building the triangle arrays by the marker rules, bounding spheres,
// and quantising decoded frames back into compact vertices.
#include "graphics3d/MeshObject.h"
#include <algorithm>
#include <cmath>
#include "graphics3d/NormalTable.h"

namespace tarvoke {
namespace {

const Vector3& tableNormal(std::uint8_t index) {
    return normalTable[index < normalTableSize ? index : 0];
}

bool hasRealColour(const GrowableArray<std::uint32_t>& palette) {
    return std::any_of(palette.begin(), palette.end(),
                       [](std::uint32_t value) { return value <= lastRealColour && value != whiteColour; });
}

} // namespace

void MeshObject::clear() {
    frames.clear();
    work.clear();
    textureU.clear();
    textureV.clear();
    palette.clear();
    normalsValid = false;
    hasVertexColours = false;
}

ExpandedVertex decodeVertex(const MeshObject& mesh, const Frame& frame, std::size_t k) {
    const CompactVertex& compact = frame.compact[k];
    ExpandedVertex vertex;
    vertex.position = {frame.scale.x * (float(compact.x) - frame.offset.x),
                       frame.scale.y * (float(compact.y) - frame.offset.y),
                       frame.scale.z * (float(compact.z) - frame.offset.z)};
    vertex.normal = tableNormal(compact.normalIndex);
    vertex.tangent = tableNormal(compact.tangentIndex);
    vertex.binormal = tableNormal(compact.binormalIndex);
    if (k < mesh.textureU.count() && k < mesh.textureV.count()) {
        vertex.u = mesh.textureU[k];
        vertex.v = -mesh.textureV[k];
    }
    vertex.colourIndex = compact.colourIndex;
    vertex.rawColour = mesh.paletteValue(compact.colourIndex);
    if (vertex.rawColour <= lastRealColour) {
        vertex.red = float(vertex.rawColour & 0xFF) / 255.0f;
        vertex.green = float((vertex.rawColour >> 8) & 0xFF) / 255.0f;
        vertex.blue = float((vertex.rawColour >> 16) & 0xFF) / 255.0f;
    }
    return vertex;
}

bool buildTriangles(MeshObject& mesh) {
    for (Frame& frame : mesh.frames) {
        // Counted first, so the array is allocated once however large the model is.
        std::size_t corners = 0;
        forEachTriangle(mesh, frame, [&](std::size_t, std::size_t, std::size_t) { corners += 3; });
        frame.triangles.clear();
        if (!frame.triangles.reserveExactly(corners)) return false;
        forEachTriangle(mesh, frame, [&](std::size_t a, std::size_t b, std::size_t c) {
            frame.triangles.append(decodeVertex(mesh, frame, a));
            frame.triangles.append(decodeVertex(mesh, frame, b));
            frame.triangles.append(decodeVertex(mesh, frame, c));
        });
    }
    mesh.hasVertexColours = hasRealColour(mesh.palette);
    return true;
}

void computeBoundingSpheres(MeshObject& mesh) {
    for (Frame& frame : mesh.frames) {
        frame.centre = {};
        frame.radius = 0.0f;
        const std::size_t count = frame.triangles.count();
        if (count == 0) continue;
        double sum[3] = {0, 0, 0};
        for (const ExpandedVertex& corner : frame.triangles) {
            sum[0] += corner.position.x;
            sum[1] += corner.position.y;
            sum[2] += corner.position.z;
        }
        frame.centre = {float(sum[0] / double(count)), float(sum[1] / double(count)), float(sum[2] / double(count))};
        float largest = 0.0f;
        for (const ExpandedVertex& corner : frame.triangles) {
            const float dx = corner.position.x - frame.centre.x;
            const float dy = corner.position.y - frame.centre.y;
            const float dz = corner.position.z - frame.centre.z;
            const float squared = dx * dx + dy * dy + dz * dz;
            if (squared > 1e-7f) largest = std::max(largest, std::sqrt(squared));
        }
        frame.radius = largest;
    }
}

namespace {

struct AxisBounds {
    float low[3] = {0, 0, 0};
    float high[3] = {0, 0, 0};
};

AxisBounds realVertexBounds(const ExpandedVertex* records, std::size_t count) {
    AxisBounds bounds;
    bool first = true;
    for (std::size_t i = 0; i < count; ++i) {
        if (records[i].rawColour > lastRealColour) continue;
        const float position[3] = {records[i].position.x, records[i].position.y, records[i].position.z};
        for (int axis = 0; axis < 3; ++axis) {
            bounds.low[axis] = first ? position[axis] : std::min(bounds.low[axis], position[axis]);
            bounds.high[axis] = first ? position[axis] : std::max(bounds.high[axis], position[axis]);
        }
        first = false;
    }
    return bounds;
}

// position / scale + offset, truncated toward zero and kept to 0..255 (NaN gives 0). Worked out
// as (position - low) / scale in doubles: the same value, but the highest vertex comes out as
// 255 instead of falling to 254 through the rounding of a float scale and offset.
std::uint8_t quantise(float position, double low, double scale) {
    const double value = (double(position) - low) / scale;
    if (!(value >= 0.0)) return 0;
    return value >= 255.0 ? 255 : std::uint8_t(value);
}

// The palette position of the colour, appended when new; -1 when the palette is full.
int paletteIndex(MeshObject& mesh, std::uint32_t colour) {
    for (std::size_t i = 0; i < mesh.palette.count(); ++i)
        if (mesh.palette[i] == colour) return int(i);
    if (mesh.palette.count() >= 256) return -1;
    if (!mesh.palette.append(colour)) return -2;
    return int(mesh.palette.count() - 1);
}

} // namespace

ModelStatus quantiseFrame(MeshObject& mesh, Frame& frame, const ExpandedVertex* records, std::size_t count,
                          bool firstFrame) {
    const AxisBounds bounds = realVertexBounds(records, count);
    double scale[3];
    for (int axis = 0; axis < 3; ++axis) {
        scale[axis] = (double(bounds.high[axis]) - double(bounds.low[axis])) / 255.0;
        if (scale[axis] == 0.0 || !std::isfinite(scale[axis])) scale[axis] = 1.0;
    }
    frame.scale = {float(scale[0]), float(scale[1]), float(scale[2])};
    frame.offset = {float(-bounds.low[0] / scale[0]), float(-bounds.low[1] / scale[1]), float(-bounds.low[2] / scale[2])};
    frame.compact.clear();
    if (!frame.compact.reserveExactly(count)) return ModelStatus::OutOfMemory;
    if (firstFrame && (!mesh.textureU.reserveExactly(mesh.textureU.count() + count) ||
                       !mesh.textureV.reserveExactly(mesh.textureV.count() + count)))
        return ModelStatus::OutOfMemory;
    for (std::size_t i = 0; i < count; ++i) {
        const ExpandedVertex& record = records[i];
        const int colour = paletteIndex(mesh, record.rawColour);
        if (colour == -1) return ModelStatus::ReadError;
        if (colour < 0) return ModelStatus::OutOfMemory;
        CompactVertex vertex;
        vertex.x = quantise(record.position.x, bounds.low[0], scale[0]);
        vertex.y = quantise(record.position.y, bounds.low[1], scale[1]);
        vertex.z = quantise(record.position.z, bounds.low[2], scale[2]);
        vertex.normalIndex = nearestNormalIndex(record.normal);
        vertex.colourIndex = std::uint8_t(colour);
        frame.compact.append(vertex);
        if (firstFrame) {
            mesh.textureU.append(record.u);
            mesh.textureV.append(record.v);
        }
    }
    return ModelStatus::Loaded;
}

} // namespace tarvoke
