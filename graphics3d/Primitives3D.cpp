// Points, lines, axis arrows, camera-facing sprites and the debug wire shapes of the 3D scene.
#include <GL/gl.h>
#include <GL/glext.h>
#include <algorithm>
#include "graphics2d/Graphics2D.h"
#include "graphics2d/TextureBinding.h"
#include "graphics3d/DebugShapes.h"
#include "graphics3d/Kestrel3D.h"
#include "graphics3d/Scene3D.h"
#include "tarvoke/graphics3d.h"

namespace tarvoke {
namespace {

constexpr float largestPointOrLine = 512.0f;
constexpr float axisScale = 20.0f;

float clampedSize(NumValue size) {
    const float value = float(size);
    return value >= 1.0f ? std::min(value, largestPointOrLine) : 1.0f;  // NaN gives 1
}

// Untextured and unlit in the colour, for one primitive; white at the global alpha afterwards.
class FlatColour {
public:
    explicit FlatColour(std::uint32_t colour) : unlit_(GL_LIGHTING, false) {
        bindSprite(-1, -1, false);
        setColour(colour, globalAlpha2D());
    }
    ~FlatColour() { setWhite(); }
    FlatColour(const FlatColour&) = delete;
    FlatColour& operator=(const FlatColour&) = delete;

private:
    CapabilityGuard unlit_;
};

void vertex(Vector3 p) { glVertex3f(p.x, p.y, p.z); }

// ---- the debug sphere: the icosahedron's 12 vertices and 20 faces
constexpr float icoX = 0.525731f, icoZ = 0.850651f;
const Vector3 icosahedron[12] = {{-icoX, 0, icoZ}, {icoX, 0, icoZ},  {-icoX, 0, -icoZ}, {icoX, 0, -icoZ},
                                 {0, icoZ, icoX},  {0, icoZ, -icoX}, {0, -icoZ, icoX},  {0, -icoZ, -icoX},
                                 {icoZ, icoX, 0},  {-icoZ, icoX, 0}, {icoZ, -icoX, 0},  {-icoZ, -icoX, 0}};
const int icosahedronFaces[20][3] = {{0, 4, 1},  {0, 9, 4},  {9, 5, 4},  {4, 5, 8},  {4, 8, 1},
                                     {8, 10, 1}, {8, 3, 10}, {5, 3, 8},  {5, 2, 3},  {2, 7, 3},
                                     {7, 10, 3}, {7, 6, 10}, {7, 11, 6}, {11, 0, 6}, {0, 1, 6},
                                     {6, 1, 10}, {9, 0, 11}, {9, 11, 2}, {9, 2, 5},  {7, 2, 11}};

// Lighting off while on, untextured, blending off, colour material on; afterwards line width 1,
// lighting and colour material as they were, white at the global alpha.
template <typename Draw>
void drawDebugShape(std::uint32_t colour, float lineWidth, Draw draw) {
    const CapabilityGuard unlit(GL_LIGHTING, false);
    const CapabilityGuard colourMaterial(GL_COLOR_MATERIAL, true);
    bindSprite(-1, -1, false);
    glDisable(GL_BLEND);
    glLineWidth(lineWidth);
    setColour(colour, 1.0f);
    draw();
    glLineWidth(1.0f);
    setWhite();
}

} // namespace

void drawPoint3D(NumValue x, NumValue y, NumValue z, NumValue size, NumValue colour) {
    if (!kestrel3D || !hasMainWindow()) return;
    const FlatColour flat(colourBits(colour));
    glPointSize(clampedSize(size));
    glBegin(GL_POINTS);
    glVertex3f(float(x), float(y), float(z));
    glEnd();
    glPointSize(1.0f);
}

void drawLine3D(NumValue x1, NumValue y1, NumValue z1, NumValue x2, NumValue y2, NumValue z2, NumValue width,
                NumValue colour) {
    if (!kestrel3D || !hasMainWindow()) return;
    const FlatColour flat(colourBits(colour));
    glLineWidth(clampedSize(width));
    glBegin(GL_LINES);
    glVertex3f(float(x1), float(y1), float(z1));
    glVertex3f(float(x2), float(y2), float(z2));
    glEnd();
    glLineWidth(1.0f);
}

// Arrows along x (red), y (green) and z (blue), 20 units long, in the camera's model-view.
void drawAxes3D(NumValue x, NumValue y, NumValue z) {
    if (!kestrel3D || !hasMainWindow()) return;
    const CapabilityGuard unlit(GL_LIGHTING, false);
    const CapabilityGuard smooth(GL_LINE_SMOOTH, true);
    bindSprite(-1, -1, false);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadMatrixf(kestrel3D->scene.cameraModelView.data());
    glTranslatef(float(x), float(y), float(z));
    glScalef(axisScale, axisScale, axisScale);
    const float alpha = globalAlpha2D();
    for (int axis = 0; axis < 3; ++axis) {
        float along[3] = {0, 0, 0}, side[3] = {0, 0, 0};
        along[axis] = 1.0f;
        side[(axis + 1) % 3] = 0.25f;  // the arrowhead's strokes lie in the next axis's direction
        glColor4f(along[0], along[1], along[2], alpha);
        glBegin(GL_LINE_STRIP);
        glVertex3f(0, 0, 0);
        glVertex3f(along[0], along[1], along[2]);
        glVertex3f(0.75f * along[0] + side[0], 0.75f * along[1] + side[1], 0.75f * along[2] + side[2]);
        glEnd();
        glBegin(GL_LINE_STRIP);
        glVertex3f(along[0], along[1], along[2]);
        glVertex3f(0.75f * along[0] - side[0], 0.75f * along[1] - side[1], 0.75f * along[2] - side[2]);
        glEnd();
    }
    glPopMatrix();
    setWhite();
}

// The sprite as a quad facing the camera, half the picture's size in scene units at scale 1,
// centred across the point and standing on it.
void drawSprite3D(NumValue id, NumValue x, NumValue y, NumValue z, NumValue scale) {
    if (!kestrel3D || !hasMainWindow()) return;
    const int sprite = toInt(id);
    const SpriteGeometry geometry = spriteGeometry(sprite);
    if (geometry.width <= 0) return;
    const CapabilityGuard noCulling(GL_CULL_FACE, false);
    Matrix4 modelView;
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView.m.data());
    const Vector3 right{modelView.m[0], modelView.m[4], modelView.m[8]};
    const Vector3 up{modelView.m[1], modelView.m[5], modelView.m[9]};
    const float size = float(scale);
    const float a = float(geometry.width >> 2) * size, b = float(geometry.height >> 1) * size;
    const Vector3 point{float(x), float(y), float(z)};
    const float s1 = (float(geometry.width) - 0.5f) / float(geometry.textureWidth);
    const float t1 = (float(geometry.height) - 0.5f) / float(geometry.textureHeight);
    bindSprite(sprite, -1, false);
    // Clamped to the edge texels: clamping to the texture's border would blend its black into
    // the left and bottom edges (the right and top are inset by half a texel).
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    vertex(point - right * a);
    glTexCoord2f(s1, 0.0f);
    vertex(point + right * a);
    glTexCoord2f(s1, t1);
    vertex(point + right * a + up * b);
    glTexCoord2f(0.0f, t1);
    vertex(point - right * a + up * b);
    glEnd();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
}

void drawDebugSphere(Vector3 centre, float radius, std::uint32_t colour, float lineWidth) {
    if (!hasMainWindow()) return;
    drawDebugShape(colour, lineWidth, [&] {
        auto loop = [&](Vector3 a, Vector3 b, Vector3 c) {
            glBegin(GL_LINE_LOOP);
            for (Vector3 corner : {a, b, c}) vertex(centre + corner * radius);
            glEnd();
        };
        for (const auto& face : icosahedronFaces) {
            const Vector3 a = icosahedron[face[0]], b = icosahedron[face[1]], c = icosahedron[face[2]];
            const Vector3 ab = normalised(a + b), bc = normalised(b + c), ca = normalised(c + a);
            loop(a, ab, ca);
            loop(ab, b, bc);
            loop(ca, bc, c);
            loop(ab, bc, ca);
        }
    });
}

void drawDebugBox(Vector3 centre, Vector3 a, Vector3 b, Vector3 c, std::uint32_t colour, float lineWidth) {
    if (!hasMainWindow()) return;
    drawDebugShape(colour, lineWidth, [&] {
        auto corner = [&](int i) {
            return centre + a * ((i & 1) ? 1.0f : -1.0f) + b * ((i & 2) ? 1.0f : -1.0f) + c * ((i & 4) ? 1.0f : -1.0f);
        };
        glBegin(GL_LINES);
        // Corners differing in one sign bit share an edge.
        for (int i = 0; i < 8; ++i)
            for (int bit = 1; bit < 8; bit <<= 1)
                if (!(i & bit)) {
                    vertex(corner(i));
                    vertex(corner(i | bit));
                }
        glEnd();
    });
}

} // namespace tarvoke
