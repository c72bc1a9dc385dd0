// The preparation step: vertex normals summed from the faces around each vertex (larger faces
// weigh more), optionally shared by every vertex at the same quantised position, and the
// tangent and binormal that normal mapping needs, each stored as the nearest normal-table entry.
// Each frame's sums are its own: a frame's normals never carry a part of another frame's shape.
#include <cmath>
#include <unordered_map>
#include <vector>
#include "graphics3d/NormalTable.h"
#include "graphics3d/ObjectDrawing.h"

namespace tarvoke {
namespace {

struct Group {
    Vector3 normal, tangent, binormal;  // sums
};

// The groups of one frame, looked up by key; a new key gets a group with zero sums.
class Groups {
public:
    explicit Groups(bool smooth) : smooth_(smooth) {}
    Group& of(const Frame& frame, std::size_t k) {
        const CompactVertex& v = frame.compact[k];
        const std::uint32_t key = smooth_ ? (std::uint32_t(v.x) << 16 | std::uint32_t(v.y) << 8 | v.z) : std::uint32_t(k);
        const auto found = index_.try_emplace(key, groups_.size());
        if (found.second) groups_.emplace_back();
        return groups_[found.first->second];
    }
    const Group* first() const { return groups_.empty() ? nullptr : &groups_.front(); }

private:
    bool smooth_;
    std::vector<Group> groups_;
    std::unordered_map<std::uint32_t, std::size_t> index_;
};

void addTriangle(const MeshObject& mesh, const Frame& frame, const std::size_t (&k)[3], Groups& groups, bool normals,
                 bool basis) {
    const ExpandedVertex q[3] = {decodeVertex(mesh, frame, k[0]), decodeVertex(mesh, frame, k[1]),
                                 decodeVertex(mesh, frame, k[2])};
    Vector3 normal, tangent, binormal;
    if (normals) normal = cross(q[2].position - q[1].position, q[1].position - q[0].position);
    bool hasBasis = false;
    if (basis) {
        const Vector3 e1 = q[1].position - q[0].position, e2 = q[2].position - q[0].position;
        const float du1 = q[1].u - q[0].u, dv1 = q[1].v - q[0].v;
        const float du2 = q[2].u - q[0].u, dv2 = q[2].v - q[0].v;
        const float d = du1 * dv2 - dv1 * du2;
        if (std::fabs(d) > 1e-5f) {
            tangent = (e1 * dv2 - e2 * dv1) * (1.0f / d);
            binormal = (e2 * du1 - e1 * du2) * (1.0f / d);
            hasBasis = true;
        }
    }
    for (std::size_t corner : k) {
        Group& group = groups.of(frame, corner);
        group.normal = group.normal + normal;
        if (hasBasis) {
            group.tangent = group.tangent + tangent;
            group.binormal = group.binormal + binormal;
        }
    }
}

void prepareFrame(MeshObject& mesh, Frame& frame, const PreparationOptions& options, bool normals, bool basis) {
    Groups groups(options.smooth);
    forEachTriangle(mesh, frame, [&](std::size_t a, std::size_t b, std::size_t c) {
        const std::size_t k[3] = {a, b, c};
        addTriangle(mesh, frame, k, groups, normals, basis);
    });
    const Group none;
    for (std::size_t k = 0; k < frame.compact.count(); ++k) {
        CompactVertex& vertex = frame.compact[k];
        const bool marker = isMarker(mesh.paletteValue(vertex.colourIndex));
        const Group* group = marker ? groups.first() : &groups.of(frame, k);
        if (!group) group = &none;
        if (normals) vertex.normalIndex = nearestNormalIndex(group->normal);
        if (basis) {
            vertex.tangentIndex = nearestNormalIndex(group->tangent);
            vertex.binormalIndex = nearestNormalIndex(group->binormal);
        }
    }
}

} // namespace

bool prepareMesh(MeshObjectX& mesh, PreparationOptions options) {
    if (mesh.frames.empty() || mesh.frames[0].compact.empty()) return false;
    const CompactVertex& first = mesh.frames[0].compact[0];
    const bool normals = options.normals && !mesh.normalsValid;
    const bool basis = options.basis && first.tangentIndex == 0 && first.binormalIndex == 0;
    if (!normals && !basis) return false;
    for (Frame& frame : mesh.frames) prepareFrame(mesh, frame, options, normals, basis);
    if (normals) mesh.normalsValid = true;
    mesh.build();
    // Frame 0's buffer holds the vertices as they were drawn before.
    mesh.staticBuffer.reset();
    return true;
}

} // namespace tarvoke
