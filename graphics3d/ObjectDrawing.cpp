// Drawing objects: the key frames a draw blends, view culling by bounding sphere, the vertices
// streamed to the driver (vertex buffers where it has them, memory otherwise), and the special
// lighting modes: normal mapping, cel shading with outlines, and shadow volumes.
#include <GL/gl.h>
#include <GL/glext.h>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>
#include "graphics2d/GlExtensions.h"
#include "graphics2d/Graphics2D.h"
#include "graphics2d/TextureBinding.h"
#include "graphics3d/Kestrel3D.h"
#include "graphics3d/ObjectDrawing.h"
#include "graphics3d/Scene3D.h"
#include "graphics3d/Transforms.h"
#include "tarvoke/graphics3d.h"

namespace tarvoke {
namespace {

constexpr GLsizei stride = GLsizei(sizeof(ExpandedVertex));
constexpr float outlineFactor = 0.003f;
constexpr float lowestCelLight = 0.05f, highestCelLight = 0.95f;

bool hasVertexBuffers() { return glExt.genBuffers && glExt.bindBuffer && glExt.bufferData && glExt.deleteBuffers; }
bool hasMultitexture() { return glExt.activeTexture && glExt.clientActiveTexture; }
bool hasDot3() {
    return hasGlExtension("GL_ARB_texture_env_combine") && hasGlExtension("GL_ARB_texture_env_dot3");
}

// The textures one mesh is drawn with: the object sprites, or a scene mesh's own pictures.
struct MeshTextures {
    bool ownPictures = false;
    GLuint first = 0, second = 0;
    bool secondBound = false;  // unit 1 has a texture, so it gets texture coordinates
};

GLuint scenePicture(const ObjectSlot& slot, int position, bool mipmapped) {
    if (position < 0 || std::size_t(position) >= slot.textures.size()) return 0;
    const ObjectTexture& picture = slot.textures[std::size_t(position)];
    return mipmapped && picture.mipmapped.exists() ? picture.mipmapped.name() : picture.texture.name();
}

MeshTextures texturesOf(const ObjectSlot& slot, const MeshObjectX& mesh, const SceneState& scene) {
    MeshTextures textures;
    if (slot.isScene) {
        textures.ownPictures = true;
        textures.first = scenePicture(slot, mesh.firstTexture, scene.objectMipmapping);
        textures.second = scenePicture(slot, mesh.secondTexture, scene.objectMipmapping);
        textures.secondBound = hasMultitexture() && textures.second != 0;
    } else {
        textures.secondBound = hasMultitexture() && scene.objectSprite >= 0 && scene.objectSprite <= 0xFFFF &&
                               spriteGeometry(scene.secondObjectSprite).width > 0;
    }
    return textures;
}

void bindMeshTextures(const MeshTextures& textures, const SceneState& scene) {
    if (textures.ownPictures)
        bindTextureNames(textures.first, textures.second);
    else
        bindObjectTextures(scene);
}

struct DrawContext {
    SceneState& scene;
    Matrix4 model;
    MeshTextures textures;
};

// Outside the view when the sphere lies wholly behind one of the frustum's planes.
bool outsideView(const Frame& frame, const DrawContext& context) {
    const Vector3 centre = transformPoint(context.model, frame.centre);
    const float scale = std::min({axisLength(context.model, 0), axisLength(context.model, 1), axisLength(context.model, 2)});
    const float radius = frame.radius * scale;
    for (const Plane& plane : context.scene.frustum)
        if (plane.a * centre.x + plane.b * centre.y + plane.c * centre.z + plane.d <= -radius) return true;
    return false;
}

Vector3 lightInObjectSpace(const Matrix4& model, Vector3 light) {
    Matrix4 inverse;
    return invert(model, inverse) ? transformPoint(inverse, light) : light;
}

// What the work array's vertices carry for the special lighting modes.
struct LightTerms {
    bool on = false;            // the light data is computed (multitexturing present)
    SpecialMode mode = SpecialMode::CelShading;
    Vector3 position;           // the special light in object space
};

void addLightTerms(ExpandedVertex& vertex, const LightTerms& light, float celHeightReciprocal) {
    const Vector3 towards = normalised(light.position - vertex.position);
    if (light.mode == SpecialMode::NormalMap) {
        vertex.lighting[0] = dot(towards, vertex.tangent) * 0.5f + 0.5f;
        vertex.lighting[1] = dot(towards, vertex.binormal) * 0.5f + 0.5f;
        vertex.lighting[2] = dot(towards, vertex.normal) * 0.5f + 0.5f;
    } else {
        vertex.lighting[0] = std::clamp(dot(towards, vertex.normal), lowestCelLight, highestCelLight);
        vertex.lighting[1] = (float(vertex.colourIndex) + 0.5f) * celHeightReciprocal;
    }
}

// The work array: the first frame's corners, blended towards the second, with the light data
// and the texture offset. False when there is nothing to draw or no memory for it.
bool fillWork(MeshObjectX& mesh, const Frame& first, const Frame& second, float weight, const SceneState& scene,
              const LightTerms& light) {
    const std::size_t count =
        std::min({mesh.frames[0].triangles.count(), first.triangles.count(), second.triangles.count()});
    if (count == 0 || !mesh.work.resize(count)) return false;
    for (std::size_t i = 0; i < count; ++i) {
        ExpandedVertex vertex = first.triangles[i];
        if (weight != 0.0f) {
            const ExpandedVertex& from = second.triangles[i];
            vertex.position = from.position + (vertex.position - from.position) * weight;
            vertex.normal = from.normal + (vertex.normal - from.normal) * weight;
        }
        if (light.on) addLightTerms(vertex, light, mesh.celHeightReciprocal);
        vertex.u += scene.textureOffsetU;
        vertex.v += scene.textureOffsetV;
        mesh.work[i] = vertex;
    }
    return true;
}

// Hands the records to the driver: frame 0 as loaded goes into the static buffer once, anything
// else into the dynamic buffer on every draw; without vertex buffers the arrays read memory.
// Returns the base the array offsets count from.
const char* uploadVertices(MeshObjectX& mesh, const ExpandedVertex* records, std::size_t count, bool staticFrame) {
    const char* inMemory = reinterpret_cast<const char*>(records);
    if (!hasVertexBuffers()) return inMemory;
    GlBuffer& buffer = staticFrame ? mesh.staticBuffer : mesh.dynamicBuffer;
    const std::size_t bytes = count * sizeof(ExpandedVertex);
    const bool fill = !staticFrame || !buffer.exists() || buffer.size() != bytes;
    if (!buffer.exists() && buffer.generate() == 0) return inMemory;
    glExt.bindBuffer(GL_ARRAY_BUFFER_ARB, buffer.name());
    if (fill) {
        glExt.bufferData(GL_ARRAY_BUFFER_ARB, GLsizeiptrARB(bytes), records,
                         staticFrame ? GL_STATIC_DRAW_ARB : GL_STREAM_DRAW_ARB);
        buffer.setSize(bytes);
    }
    return nullptr;
}

struct ArrayLayout {
    bool normals = false;
    std::ptrdiff_t colours = -1;     // offset of three colour floats; -1: none
    std::ptrdiff_t secondUnit = -1;  // offset of unit 1's texture coordinates; -1: none
};

void enableArrays(const char* base, const ArrayLayout& layout) {
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, stride, base + offsetof(ExpandedVertex, position));
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, stride, base + offsetof(ExpandedVertex, u));
    if (layout.normals) {
        glEnableClientState(GL_NORMAL_ARRAY);
        glNormalPointer(GL_FLOAT, stride, base + offsetof(ExpandedVertex, normal));
    }
    if (layout.colours >= 0) {
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(3, GL_FLOAT, stride, base + layout.colours);
    }
    if (layout.secondUnit >= 0) {
        glExt.clientActiveTexture(GL_TEXTURE1_ARB);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, stride, base + layout.secondUnit);
        glExt.clientActiveTexture(GL_TEXTURE0_ARB);
    }
}

void disableArrays(const ArrayLayout& layout) {
    if (layout.secondUnit >= 0) {
        glExt.clientActiveTexture(GL_TEXTURE1_ARB);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glExt.clientActiveTexture(GL_TEXTURE0_ARB);
    }
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    if (hasVertexBuffers()) glExt.bindBuffer(GL_ARRAY_BUFFER_ARB, 0);
}

// Unit 0 takes the dot product of the primary colour (the light direction) and the normal map.
void useDot3Combiner() {
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE_ARB);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB_ARB, GL_DOT3_RGB_ARB);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB_ARB, GL_PRIMARY_COLOR_ARB);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB_ARB, GL_SRC_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_RGB_ARB, GL_TEXTURE);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_RGB_ARB, GL_SRC_COLOR);
}

void resetTextureEnvironments() {
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    if (!glExt.activeTexture) return;
    glExt.activeTexture(GL_TEXTURE1_ARB);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glExt.activeTexture(GL_TEXTURE0_ARB);
}

void useSphereMapping(bool on) {
    if (on) {
        glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glEnable(GL_TEXTURE_GEN_S);
        glEnable(GL_TEXTURE_GEN_T);
    } else {
        glDisable(GL_TEXTURE_GEN_S);
        glDisable(GL_TEXTURE_GEN_T);
    }
}

// How far the cel outline stands out: in proportion to the object's distance, so that it looks
// equally thick on the screen, and thinner under scaling transforms.
float outlineWidth(const Frame& frame, const DrawContext& context) {
    const SceneState& scene = context.scene;
    const Vector3 centre = transformPoint(context.model, frame.centre);
    float width = length(centre - scene.cameraPosition) * scene.cullingTangent * outlineFactor;
    for (int level = 0; level <= scene.depth; ++level) {
        const Matrix4& matrix = scene.levels[std::size_t(level)].matrix;
        if (isIdentity(matrix)) continue;
        const float mean = (axisLength(matrix, 0) + axisLength(matrix, 1) + axisLength(matrix, 2)) / 3.0f;
        width /= mean * mean;
    }
    return width;
}

// The mesh again, black and a little larger, showing only its back faces: the outline.
void drawOutline(MeshObjectX& mesh, const Frame& frame, const DrawContext& context) {
    float width = outlineWidth(frame, context);
    if (!(width <= frame.radius * 0.5f)) return;
    width = std::max(width, 1e-7f);
    for (ExpandedVertex& vertex : mesh.work) vertex.position = vertex.position + vertex.normal * width;
    const int culling = context.scene.cullingMode;
    GLint source = GL_ONE, destination = GL_ZERO;
    glGetIntegerv(GL_BLEND_SRC, &source);
    glGetIntegerv(GL_BLEND_DST, &destination);
    {
        const CapabilityGuard unlit(GL_LIGHTING, false);
        const CapabilityGuard blended(GL_BLEND, true);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        bindTextureNames(0, 0);
        glFrontFace(culling > 0 ? GL_CCW : GL_CW);
        glDepthFunc(GL_LEQUAL);
        glColor4f(0.0f, 0.0f, 0.0f, globalAlpha2D());
        const char* base = uploadVertices(mesh, mesh.work.data(), mesh.work.count(), false);
        const ArrayLayout positionsOnly;
        enableArrays(base, positionsOnly);
        glDrawArrays(GL_TRIANGLES, 0, GLsizei(mesh.work.count()));
        disableArrays(positionsOnly);
        glDepthFunc(GL_LESS);
        glFrontFace(culling > 0 ? GL_CW : GL_CCW);
        glBlendFunc(GLenum(source), GLenum(destination));
    }
    bindMeshTextures(context.textures, context.scene);
}

void prepareForSpecialMode(MeshObjectX& mesh, const SceneState& scene) {
    PreparationOptions options;
    options.smooth = scene.preparationLevel == 2;
    options.basis = scene.special.mode == SpecialMode::NormalMap;
    prepareMesh(mesh, options);
    if (scene.special.mode == SpecialMode::CelShading && !mesh.celTexture.exists())
        buildCelTexture(mesh, kestrel3D->celRamp);
    if (scene.special.mode == SpecialMode::ShadowVolumes && mesh.shadowEdges.count() != mesh.frames[0].triangles.count())
        buildShadowEdges(mesh);
}

void drawShadowOf(MeshObjectX& mesh, const Frame& frame, DrawContext& context) {
    SceneState& scene = context.scene;
    // A pass left early (by setViewport) begins again for the shadows drawn after it.
    if (!scene.shadowPass) enterShadowPass(scene);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glMultMatrixf(context.model.data());
    drawShadowVolume(mesh, frame, lightInObjectSpace(context.model, scene.special.position));
    glPopMatrix();
    bindMeshTextures(context.textures, scene);
}

void drawMesh(MeshObjectX& mesh, FrameChoice choice, DrawContext& context) {
    if (mesh.frames.empty() || mesh.frames[0].compact.empty()) return;
    if (mesh.frames[0].triangles.empty()) {
        mesh.build();
        computeBoundingSpheres(mesh);
    }
    choice = clampFrames(choice, int(mesh.frames.count()));
    const Frame& first = mesh.frames[std::size_t(choice.first)];
    const Frame& second = mesh.frames[std::size_t(choice.second)];
    if (outsideView(first, context)) return;
    SceneState& scene = context.scene;
    setWhite();
    const SpecialLight& special = scene.special;
    if (special.on) prepareForSpecialMode(mesh, scene);
    if (special.on && special.mode == SpecialMode::ShadowVolumes) {
        drawShadowOf(mesh, first, context);
        return;
    }

    const bool fast = !special.on && choice.weight == 0.0f && scene.textureOffsetU == 0.0f && scene.textureOffsetV == 0.0f;
    LightTerms light;
    light.on = special.on && hasMultitexture();
    light.mode = special.mode;
    if (light.on) light.position = lightInObjectSpace(context.model, special.position);
    if (!fast && !fillWork(mesh, first, second, choice.weight, scene, light)) return;
    const ExpandedVertex* records = fast ? first.triangles.data() : mesh.work.data();
    const std::size_t count = fast ? first.triangles.count() : mesh.work.count();
    if (count == 0) return;

    const bool normalMapping = light.on && special.mode == SpecialMode::NormalMap && hasDot3();
    const bool celShading = light.on && special.mode == SpecialMode::CelShading && mesh.celTexture.exists();
    ArrayLayout layout;
    layout.normals = scene.lightMask != 0 || scene.sphereMapping;
    if (normalMapping)
        layout.colours = offsetof(ExpandedVertex, lighting);
    else if (mesh.hasVertexColours)
        layout.colours = offsetof(ExpandedVertex, red);
    if (celShading) {
        bindSecondUnitTexture(mesh.celTexture.name());
        layout.secondUnit = offsetof(ExpandedVertex, lighting);
    } else if (context.textures.secondBound) {
        layout.secondUnit = offsetof(ExpandedVertex, u);
    }
    if (normalMapping) useDot3Combiner();
    if (scene.sphereMapping) useSphereMapping(true);

    const char* base = uploadVertices(mesh, records, count, fast && choice.first == 0);
    enableArrays(base, layout);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glMultMatrixf(context.model.data());
    glDrawArrays(GL_TRIANGLES, 0, GLsizei(count));
    disableArrays(layout);
    if (scene.sphereMapping) useSphereMapping(false);
    resetTextureEnvironments();
    if (special.on && special.mode == SpecialMode::CelShading && scene.cullingMode != 0)
        drawOutline(mesh, first, context);
    else if (celShading)
        bindMeshTextures(context.textures, scene);
    glPopMatrix();
    setWhite();
}

} // namespace

FrameChoice chooseFrames(NumValue a, NumValue b, NumValue t, bool range) {
    const int from = toInt(a), to = toInt(b);
    if (!range) return {to, from, float(t)};
    double position = t;
    if (position > 1.0 || position < 0.0) position = std::fabs(std::fmod(position, 1.0));
    if (!std::isfinite(position)) position = 0.0;
    const double at = double(from) + (double(to) - double(from)) * position;
    const int n = int(at);
    const int next = n < INT_MAX ? n + 1 : n;
    if (from < to) return {n, next, float(1.0 - (at - n))};
    if (to < from) return {next, n, float(at - n)};
    return {from, to, 0.0f};
}

FrameChoice clampFrames(FrameChoice choice, int frameCount) {
    const int last = std::max(frameCount - 1, 0);
    choice.first = std::clamp(choice.first, 0, last);
    choice.second = std::clamp(choice.second, 0, last);
    return choice;
}

void drawObjectAnim(NumValue id, NumValue frameA, NumValue frameB, NumValue position, NumValue range) {
    if (!kestrel3D || !hasMainWindow()) return;
    const int index = toInt(id);
    if (!isObjectId(index)) return;
    ObjectSlot& slot = kestrel3D->objects[std::size_t(index)];
    if (!slot.loaded) return;
    SceneState& scene = kestrel3D->scene;
    const FrameChoice choice = chooseFrames(frameA, frameB, position, isSet(range));
    bindObjectTextures(scene);
    DrawContext context{scene, currentModelMatrix(scene), {}};
    for (MeshObjectX& mesh : slot.meshes) {
        context.textures = texturesOf(slot, mesh, scene);
        if (slot.isScene) bindMeshTextures(context.textures, scene);
        drawMesh(mesh, choice, context);
    }
}

void drawObject(NumValue id, NumValue frame) { drawObjectAnim(id, frame, frame, 0, 0); }

} // namespace tarvoke
