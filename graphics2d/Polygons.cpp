// Textured polygons: vertices collected one by one, drawn as one triangle fan.
#include <GL/gl.h>
#include <vector>
#include "graphics2d/OpenGLKestrel.h"
#include "graphics2d/TextureBinding.h"
#include "tarvoke/graphics2d.h"

namespace tarvoke {
namespace {

constexpr std::size_t floatsPerVertex = 8;  // x, y, s, t, red, green, blue, alpha
constexpr std::size_t firstCapacity = 512;

// The polygon being collected; the memory is kept between polygons.
struct PolygonBuffer {
    std::vector<float> vertices;  // floatsPerVertex floats a vertex
    std::size_t vertexCount = 0;
    int sprite = -1;              // its texture; -1: untextured
};
PolygonBuffer polygon;

} // namespace

void startPoly(NumValue id) {
    OpenGLKestrel* kestrel = openGLKestrel;
    if (!kestrel) return;
    int slotId = toInt(id);
    if (!SpriteStore::isValidId(slotId)) slotId = -1;  // untextured
    bindSprite(slotId, -1, false);
    polygon.sprite = slotId;
    if (polygon.vertices.size() < firstCapacity * floatsPerVertex)
        polygon.vertices.resize(firstCapacity * floatsPerVertex);
    polygon.vertexCount = 0;
}

void polyVertex(NumValue x, NumValue y, NumValue textureX, NumValue textureY, NumValue colour) {
    OpenGLKestrel* kestrel = openGLKestrel;
    if (!kestrel) return;
    std::vector<float>& vertices = polygon.vertices;
    const std::size_t at = polygon.vertexCount * floatsPerVertex;
    if (at + floatsPerVertex > vertices.size()) vertices.resize(vertices.size() + 128 * floatsPerVertex);

    float s = 0, t = 0;
    if (polygon.sprite >= 0) {
        const SpriteSlot& slot = kestrel->sprites.slot(polygon.sprite);
        s = float(textureX) / slot.textureWidth;
        t = (float(slot.height) - float(textureY)) / slot.textureHeight;
    }
    const std::uint32_t rgb = std::uint32_t(toInt(colour)) & 0xFFFFFF;
    const bool isKey = std::int32_t(rgb) == kestrel->sprites.spriteColourKey;
    const float vertex[floatsPerVertex] = {float(toInt(x)), float(toInt(y)), s, t,
                                           float(rgb & 0xFF) / 255.0f, float((rgb >> 8) & 0xFF) / 255.0f,
                                           float(rgb >> 16) / 255.0f, isKey ? 0.0f : kestrel->globalAlpha};
    std::copy(vertex, vertex + floatsPerVertex, vertices.begin() + std::ptrdiff_t(at));
    ++polygon.vertexCount;
}

void endPoly() {
    OpenGLKestrel* kestrel = openGLKestrel;
    if (!kestrel || polygon.vertexCount == 0) return;
    const float* vertices = polygon.vertices.data();
    const bool textured = polygon.sprite >= 0;
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_DITHER);
    glShadeModel(GL_SMOOTH);
    const GLsizei stride = GLsizei(floatsPerVertex * sizeof(float));
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, stride, vertices);
    if (textured) {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, stride, vertices + 2);
        kestrel->sprites.slot(polygon.sprite).texture.applyFilter(kestrel->smoothing ? GL_LINEAR : GL_NEAREST);
    }
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_FLOAT, stride, vertices + 4);
    glDrawArrays(GL_TRIANGLE_FAN, 0, GLsizei(polygon.vertexCount));
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glShadeModel(GL_FLAT);
    glEnable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, kestrel->globalAlpha);
    glDisable(GL_DITHER);
    glDisable(GL_COLOR_MATERIAL);
}

} // namespace tarvoke
