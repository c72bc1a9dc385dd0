// Objects built in code, vertex by vertex in triangle strips, and the triangle queries.
#include "graphics3d/Kestrel3D.h"
#include "graphics3d/ObjectDrawing.h"
#include "graphics3d/Scene3D.h"
#include "tarvoke/arrays.h"
#include "tarvoke/graphics3d.h"

namespace tarvoke {
namespace {

constexpr std::uint32_t whiteNotMarker = 0xFFFFFFFC;  // drawn white, and never taken for a marker

ObjectSlot* slotAt(NumValue id) {
    const int index = toInt(id);
    return kestrel3D && isObjectId(index) ? &kestrel3D->objects[std::size_t(index)] : nullptr;
}

// The frame being built, or null when no build is open (or the slot was loaded meanwhile).
Frame* frameBeingBuilt() {
    if (!kestrel3D || kestrel3D->buildingObject < 0) return nullptr;
    ObjectSlot& slot = kestrel3D->objects[std::size_t(kestrel3D->buildingObject)];
    if (slot.loaded || slot.meshes.size() != 1 || slot.meshes[0].frames.count() != 1) return nullptr;
    return &slot.meshes[0].frames[0];
}

void appendRecord(const ExpandedVertex& record) {
    if (Frame* frame = frameBeingBuilt()) frame->expanded.append(record);
}

ExpandedVertex stripMarkerRecord() {
    ExpandedVertex marker;
    marker.rawColour = stripMarker;
    return marker;
}

// The records as compact vertices, with what the preparation level asks computed.
bool finishMesh(MeshObjectX& mesh, int preparationLevel) {
    Frame& frame = mesh.frames[0];
    if (quantiseFrame(mesh, frame, frame.expanded.data(), frame.expanded.count(), true) != ModelStatus::Loaded)
        return false;
    frame.expanded.clear();
    if (preparationLevel == 1 || preparationLevel == 2) {
        PreparationOptions options;
        options.smooth = preparationLevel == 2;
        prepareMesh(mesh, options);
    }
    if (!mesh.build()) return false;
    computeBoundingSpheres(mesh);
    return true;
}

} // namespace

void startObject(NumValue id) {
    if (!kestrel3D) return;
    ObjectSlot* slot = slotAt(id);
    kestrel3D->buildingObject = -1;
    if (!slot) return;
    slot->clear();
    slot->meshes.emplace_back();
    Frame frame;
    if (!frame.expanded.append(stripMarkerRecord()) || !slot->meshes[0].frames.append(std::move(frame))) {
        slot->clear();
        return;
    }
    kestrel3D->buildingObject = toInt(id);
}

void newStrip() { appendRecord(stripMarkerRecord()); }

void addObjectVertex(NumValue x, NumValue y, NumValue z, NumValue u, NumValue v, NumValue colour) {
    ExpandedVertex record;
    record.position = {float(x), float(y), float(z)};
    record.u = float(u);
    record.v = float(v);
    const std::uint32_t bits = colourBits(colour);
    record.rawColour = bits >= whiteNotMarker ? whiteNotMarker : bits;
    appendRecord(record);
}

void endObject() {
    if (!kestrel3D || kestrel3D->buildingObject < 0) return;
    ObjectSlot& slot = kestrel3D->objects[std::size_t(kestrel3D->buildingObject)];
    kestrel3D->buildingObject = -1;
    if (slot.loaded || slot.meshes.size() != 1) return;  // loaded over meanwhile
    slot.loaded = true;
    MeshObjectX& mesh = slot.meshes[0];
    const bool enough = mesh.frames.count() == 1 && mesh.frames[0].expanded.count() > 2;
    if (!enough || !finishMesh(mesh, kestrel3D->scene.preparationLevel)) mesh.clear();
}

NumValue getTriangleCount(NumValue id) {
    const ObjectSlot* slot = slotAt(id);
    if (!slot || !slot->loaded) return 0;
    std::size_t corners = 0;
    for (const MeshObjectX& mesh : slot->meshes)
        if (!mesh.frames.empty()) corners += mesh.frames[0].triangles.count();
    return NumValue(corners / 3);
}

// Element (corner, component) gets x, y, z, u, v, the raw colour and the normal's x, y, z.
void getTriangle(NumValue id, NumValue frame, NumValue triangle, NumArray& corners) {
    dimArray(corners, 3, 9);
    const ObjectSlot* slot = slotAt(id);
    const int wanted = toInt(triangle);
    if (!slot || !slot->loaded || wanted < 0) return;
    std::size_t index = std::size_t(wanted);
    for (const MeshObjectX& mesh : slot->meshes) {
        if (mesh.frames.empty()) continue;
        const FrameChoice choice = clampFrames({toInt(frame), 0, 0.0f}, int(mesh.frames.count()));
        const Frame& drawn = mesh.frames[std::size_t(choice.first)];
        const std::size_t triangles = drawn.triangles.count() / 3;
        if (index >= triangles) {
            index -= triangles;
            continue;
        }
        for (int corner = 0; corner < 3; ++corner) {
            const ExpandedVertex& v = drawn.triangles[index * 3 + std::size_t(corner)];
            const NumValue values[9] = {v.position.x, v.position.y, v.position.z, v.u, v.v, NumValue(v.rawColour),
                                        v.normal.x, v.normal.y, v.normal.z};
            for (int component = 0; component < 9; ++component) corners(corner, component) = values[component];
        }
        return;
    }
}

} // namespace tarvoke
