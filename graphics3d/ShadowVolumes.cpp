// Stencil shadows. While the shadow pass is on, objects drawn in the shadow mode do not show:
// the volume each one's silhouette sweeps away from the light is counted into the stencil
// buffer (front faces up, back faces down, where they lie in front of the scene). Leaving the
// pass darkens every pixel left with a count other than 0 by half.
#include <GL/gl.h>
#include <GL/glext.h>
#include <cstdlib>
#include <cstring>
#include <map>
#include <unordered_map>
#include <utility>
#include "graphics2d/Graphics2D.h"
#include "graphics2d/TextureBinding.h"
#include "graphics3d/ObjectDrawing.h"
#include "graphics3d/Scene3D.h"
#include "tarvoke/graphics2d.h"

namespace tarvoke {
namespace {

constexpr float darkening = 0.5f;

struct PositionKey {
    float x, y, z;
    bool operator<(const PositionKey& other) const {
        return std::memcmp(this, &other, sizeof(PositionKey)) < 0;
    }
};

// The first vertex of frame 0 at each decoded position. Vertices at different quantised
// positions lie at least one quantisation step apart, so equal positions are found exactly.
std::map<PositionKey, std::int32_t> firstVertexAt(const MeshObject& mesh) {
    std::map<PositionKey, std::int32_t> first;
    const Frame& frame = mesh.frames[0];
    for (std::size_t k = 0; k < frame.compact.count(); ++k) {
        const Vector3 p = decodeVertex(mesh, frame, k).position;
        first.emplace(PositionKey{p.x, p.y, p.z}, std::int32_t(k));
    }
    return first;
}

std::uint64_t edgeKey(std::int32_t a, std::int32_t b) {
    const auto low = std::uint32_t(std::min(a, b)), high = std::uint32_t(std::max(a, b));
    return std::uint64_t(low) << 32 | high;
}

// Where the stencil counts go: wrapping where the context can, so that a model of either
// winding counts its volumes to a non-zero value (down from 0 as well as up).
std::pair<GLenum, GLenum> stencilCountOperations() {
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    const bool wraps = (version && std::strtod(version, nullptr) >= 1.4) || hasGlExtension("GL_EXT_stencil_wrap");
    return wraps ? std::pair<GLenum, GLenum>{GL_INCR_WRAP, GL_DECR_WRAP} : std::pair<GLenum, GLenum>{GL_INCR, GL_DECR};
}

void vertexAtInfinity(Vector3 direction) { glVertex4f(direction.x, direction.y, direction.z, 0.0f); }

void drawVolumeFaces(const MeshObjectX& mesh, const Frame& frame, Vector3 light, const std::vector<bool>& facing) {
    const ExpandedVertex* corners = frame.triangles.data();
    const std::size_t triangles = facing.size();
    glBegin(GL_QUADS);
    for (std::size_t t = 0; t < triangles; ++t) {
        if (!facing[t]) continue;
        for (std::size_t i = 0; i < 3; ++i) {
            if (!mesh.shadowEdges[t * 3 + i].silhouette) continue;
            const Vector3 a = corners[t * 3 + i].position, b = corners[t * 3 + (i + 1) % 3].position;
            glVertex3f(b.x, b.y, b.z);
            glVertex3f(a.x, a.y, a.z);
            vertexAtInfinity(a - light);
            vertexAtInfinity(b - light);
        }
    }
    glEnd();
    glBegin(GL_TRIANGLES);
    for (std::size_t t = 0; t < triangles; ++t)
        for (std::size_t i = 0; i < 3; ++i) {
            const Vector3 q = corners[t * 3 + i].position;
            if (facing[t])
                glVertex3f(q.x, q.y, q.z);
            else
                vertexAtInfinity(q - light);
        }
    glEnd();
}

} // namespace

// ---------------------------------------------------------------- edge data and silhouettes

void buildShadowEdges(MeshObjectX& mesh) {
    mesh.weldedVertices.clear();
    mesh.shadowEdges.clear();
    if (mesh.frames.empty()) return;
    const Frame& frame = mesh.frames[0];
    const std::size_t corners = frame.triangles.count();
    if (!mesh.weldedVertices.reserveExactly(corners) || !mesh.shadowEdges.reserveExactly(corners)) return;
    const std::map<PositionKey, std::int32_t> first = firstVertexAt(mesh);
    for (const ExpandedVertex& corner : frame.triangles) {
        const auto found = first.find(PositionKey{corner.position.x, corner.position.y, corner.position.z});
        mesh.weldedVertices.append(found == first.end() ? -1 : found->second);
    }
    // Each edge by its two vertices, to the triangles that have it. A triangle with two corners
    // on one vertex (the tip of a cone, say) has no area and neighbours nothing: taken as the
    // neighbour of a real triangle, it would make that triangle's edge a silhouette.
    std::unordered_multimap<std::uint64_t, std::int32_t> trianglesAt;
    auto vertexOf = [&](std::size_t t, std::size_t i) { return mesh.weldedVertices[t * 3 + i % 3]; };
    auto isSolid = [&](std::size_t t) {
        const std::int32_t a = vertexOf(t, 0), b = vertexOf(t, 1), c = vertexOf(t, 2);
        return a >= 0 && b >= 0 && c >= 0 && a != b && b != c && c != a;
    };
    for (std::size_t t = 0; t < corners / 3; ++t)
        if (isSolid(t))
            for (std::size_t i = 0; i < 3; ++i)
                trianglesAt.emplace(edgeKey(vertexOf(t, i), vertexOf(t, i + 1)), std::int32_t(t));
    for (std::size_t t = 0; t < corners / 3; ++t)
        for (std::size_t i = 0; i < 3; ++i) {
            ShadowEdge edge;
            if (vertexOf(t, i) >= 0 && vertexOf(t, i + 1) >= 0) {
                const auto range = trianglesAt.equal_range(edgeKey(vertexOf(t, i), vertexOf(t, i + 1)));
                for (auto it = range.first; it != range.second && edge.neighbour < 0; ++it)
                    if (it->second != std::int32_t(t)) edge.neighbour = it->second;
            }
            mesh.shadowEdges.append(edge);
        }
}

void markSilhouettes(MeshObjectX& mesh, const Frame& frame, Vector3 light, std::vector<bool>& facing) {
    const std::size_t triangles = std::min(frame.triangles.count(), mesh.shadowEdges.count()) / 3;
    facing.assign(triangles, false);
    for (std::size_t t = 0; t < triangles; ++t) {
        const Vector3 q0 = frame.triangles[t * 3].position, q1 = frame.triangles[t * 3 + 1].position,
                      q2 = frame.triangles[t * 3 + 2].position;
        // The light as seen from the triangle, not from the object's origin: a point light
        // beside a model lights the faces turned towards it wherever the model's origin lies.
        facing[t] = dot(light - q1, cross(q0 - q1, q2 - q1)) > 0.0f;
    }
    for (std::size_t t = 0; t < triangles; ++t)
        for (std::size_t i = 0; i < 3; ++i) {
            ShadowEdge& edge = mesh.shadowEdges[t * 3 + i];
            const bool neighbourFacing = edge.neighbour >= 0 && std::size_t(edge.neighbour) < triangles &&
                                         facing[std::size_t(edge.neighbour)];
            edge.silhouette = facing[t] && !neighbourFacing;
        }
}

void drawShadowVolume(MeshObjectX& mesh, const Frame& frame, Vector3 light) {
    if (mesh.shadowEdges.count() != mesh.frames[0].triangles.count()) buildShadowEdges(mesh);
    std::vector<bool> facing;
    markSilhouettes(mesh, frame, light, facing);
    const CapabilityGuard unlit(GL_LIGHTING, false);
    const CapabilityGuard culled(GL_CULL_FACE, true);
    const CapabilityGuard noFog(GL_FOG, false);
    bindTextureNames(0, 0);
    GLint cullFace = GL_BACK;
    glGetIntegerv(GL_CULL_FACE_MODE, &cullFace);
    const auto [up, down] = stencilCountOperations();
    glCullFace(GL_BACK);
    glStencilOp(GL_KEEP, GL_KEEP, up);
    drawVolumeFaces(mesh, frame, light, facing);
    glCullFace(GL_FRONT);
    glStencilOp(GL_KEEP, GL_KEEP, down);
    drawVolumeFaces(mesh, frame, light, facing);
    glCullFace(GLenum(cullFace));
    glStencilOp(GL_KEEP, GL_KEEP, GL_INVERT);
}

// ---------------------------------------------------------------- the pass

void enterShadowPass(SceneState& scene) {
    glShadeModel(GL_FLAT);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    // Whatever an earlier pass or another program left in the stencil must not count.
    glClearStencil(0);
    glClear(GL_STENCIL_BUFFER_BIT);
    glEnable(GL_STENCIL_TEST);
    glDepthMask(GL_FALSE);
    glStencilFunc(GL_ALWAYS, 0, ~0u);
    glStencilOp(GL_KEEP, GL_KEEP, GL_INVERT);
    scene.shadowPass = true;
}

// The darkening rectangle is drawn over the whole window, blended at half strength where the
// stencil holds a count; the blend state, the 2D viewport and its alpha are left as they were.
void leaveShadowPass(SceneState& scene) {
    scene.shadowPass = false;
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glDepthMask(GL_TRUE);
    glDepthFunc(GL_LEQUAL);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    NumValue width = 0, height = 0;
    getScreenSize(width, height);
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    GLint source = GL_ONE, destination = GL_ZERO;
    glGetIntegerv(GL_BLEND_SRC, &source);
    glGetIntegerv(GL_BLEND_DST, &destination);
    {
        const CapabilityGuard blended(GL_BLEND, true);
        const CapabilityGuard noDepthTest(GL_DEPTH_TEST, false);
        const CapabilityGuard unlit(GL_LIGHTING, false);
        const CapabilityGuard noFog(GL_FOG, false);
        const CapabilityGuard noCulling(GL_CULL_FACE, false);
        const CapabilityGuard noAlphaTest(GL_ALPHA_TEST, false);
        bindTextureNames(0, 0);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glStencilFunc(GL_NOTEQUAL, 0, ~0u);
        glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
        glViewport(0, 0, GLsizei(width), GLsizei(height));
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glOrtho(0, width, height, 0, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        glColor4f(0.0f, 0.0f, 0.0f, darkening);
        glRecti(0, 0, 3000, 2000);
        glPopMatrix();
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
        glBlendFunc(GLenum(source), GLenum(destination));
    }
    setWhite();
    glShadeModel(GL_SMOOTH);
    glDepthFunc(GL_LESS);
    glDisable(GL_STENCIL_TEST);
    glClear(GL_STENCIL_BUFFER_BIT);
}

} // namespace tarvoke
