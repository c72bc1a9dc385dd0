// The collision commands: a sphere, an upright box or a ray against one frame of an object, as
// it stands under the current transform, over every mesh of the object. Anything that cannot
// collide (an empty slot, a missing frame, a shape of no size, a number that is not finite,
// a transform that is not) gives "no collision". In debug mode each test also draws its shape:
// a sphere or box green when it touched nothing, red and wide when it did; a ray green and wide
// for a hit ahead, yellow and wide for one behind its origin only, red for none.
#include <cmath>
#include "graphics2d/Graphics2D.h"
#include "graphics3d/Collision.h"
#include "graphics3d/DebugShapes.h"
#include "graphics3d/Kestrel3D.h"
#include "graphics3d/Transforms.h"
#include "tarvoke/core.h"
#include "tarvoke/graphics3d.h"

namespace tarvoke {
namespace {

constexpr std::uint32_t green = 0x00FF00, red = 0x0000FF, yellow = 0x00FFFF;  // 0xBBGGRR
constexpr float missWidth = 1.0f, hitWidth = 5.0f;

bool isFinite(Vector3 v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }
Vector3 vectorOf(NumValue x, NumValue y, NumValue z) { return {float(x), float(y), float(z)}; }

// The object's meshes, the frame and where the object stands; false when nothing can collide.
struct Target {
    std::vector<MeshObjectX>* meshes = nullptr;
    int frame = 0;
    Placement placement;
};

bool findTarget(NumValue id, NumValue frame, Target& target) {
    const int index = toInt(id);
    if (!kestrel3D || !isObjectId(index)) return false;
    ObjectSlot& slot = kestrel3D->objects[std::size_t(index)];
    if (!slot.loaded || slot.meshes.empty()) return false;
    const Matrix4& model = currentModelMatrix(kestrel3D->scene);
    for (float value : model.m)
        if (!std::isfinite(value)) return false;
    target.meshes = &slot.meshes;
    target.frame = toInt(frame);
    target.placement = placementOf(model);
    return true;
}

// Runs test(mesh) on every mesh whose frame can be tested, until one hits.
template <typename Test>
bool anyMesh(const Target& target, Test test) {
    for (MeshObjectX& mesh : *target.meshes)
        if (isTestableFrame(mesh, target.frame) && test(mesh)) return true;
    return false;
}

bool showingShapes() { return projectSettings.debugMode != 0 && kestrel3D && hasMainWindow(); }

// The unit vector along (x, y, z), worked out in doubles so that tiny and huge directions keep
// their way; false for a direction of no length or one that is not finite.
bool unitDirection(NumValue x, NumValue y, NumValue z, Vector3& unit) {
    const double largest = std::fmax(std::fabs(x), std::fmax(std::fabs(y), std::fabs(z)));
    if (!(largest > 0.0) || !std::isfinite(largest)) return false;
    const double a = x / largest, b = y / largest, c = z / largest;
    const double size = std::sqrt(a * a + b * b + c * c);
    unit = {float(a / size), float(b / size), float(c / size)};
    return true;
}

} // namespace

NumValue sphereCollision(NumValue id, NumValue frame, NumValue radius, NumValue x, NumValue y, NumValue z) {
    const Vector3 centre = vectorOf(x, y, z);
    const float size = float(radius);
    if (!isFinite(centre) || !(size > 0.0f) || !std::isfinite(size)) return 0;
    Target target;
    const bool hit = findTarget(id, frame, target) && anyMesh(target, [&](MeshObjectX& mesh) {
        const Frame& tested = mesh.frames[std::size_t(target.frame)];
        return sphereTouchesFrame(mesh, target.frame, target.placement, centre, size, searchFor(tested));
    });
    if (showingShapes()) drawDebugSphere(centre, size, hit ? red : green, hit ? hitWidth : missWidth);
    return hit ? 1 : 0;
}

NumValue boxCollision(NumValue id, NumValue frame, NumValue x, NumValue y, NumValue z, NumValue width, NumValue height) {
    const Vector3 centre = vectorOf(x, y, z);
    const Vector3 half{float(width / 2), float(height / 2), float(width / 2)};
    if (!isFinite(centre) || !isFinite(half) || !(half.x > 0.0f) || !(half.y > 0.0f)) return 0;
    Target target;
    const bool hit = findTarget(id, frame, target) && anyMesh(target, [&](MeshObjectX& mesh) {
        const Frame& tested = mesh.frames[std::size_t(target.frame)];
        return boxTouchesFrame(mesh, target.frame, target.placement, centre, half, searchFor(tested));
    });
    if (showingShapes())
        drawDebugBox(centre, {half.x, 0, 0}, {0, 0, half.z}, {0, half.y, 0}, hit ? red : green,
                     hit ? hitWidth : missWidth);
    return hit ? 1 : 0;
}

NumValue rayCollision(NumValue id, NumValue frame, NumValue x, NumValue y, NumValue z, NumValue directionX,
                      NumValue directionY, NumValue directionZ) {
    const Vector3 origin = vectorOf(x, y, z);
    Vector3 direction;
    if (!isFinite(origin) || !unitDirection(directionX, directionY, directionZ, direction)) return 0;
    RayHits hits;
    Target target;
    if (findTarget(id, frame, target))
        anyMesh(target, [&](MeshObjectX& mesh) {
            const Frame& tested = mesh.frames[std::size_t(target.frame)];
            rayMeetsFrame(mesh, target.frame, target.placement, origin, direction, searchFor(tested), hits);
            return false;
        });
    const float distance = hits.nearest();
    if (showingShapes()) {
        const float shown = distance != 0.0f ? std::fabs(distance) : kestrel3D->scene.farPlane;
        const Vector3 end = origin + direction * shown;
        const std::uint32_t colour = distance > 0.0f ? green : distance < 0.0f ? yellow : red;
        drawLine3D(origin.x, origin.y, origin.z, end.x, end.y, end.z, distance != 0.0f ? hitWidth : missWidth, colour);
    }
    return distance;
}

} // namespace tarvoke
