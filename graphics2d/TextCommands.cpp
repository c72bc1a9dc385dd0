// The text commands: choosing and loading fonts, and printing on the screen and in 3D space.
// Every character becomes one textured quad in `textVertices`, and a whole text is drawn in one
// glBegin/glEnd pair: llvmpipe takes immediate mode three times faster than client-side vertex
// arrays switched on and off for each text.
#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <vector>
#include "files/ArchiveSlot.h"
#include "graphics2d/Fonts.h"
#include "graphics2d/OpenGLKestrel.h"
#include "graphics2d/TextureBinding.h"
#include "tarvoke/graphics2d.h"

namespace tarvoke {

int currentFont = 0;

namespace {

constexpr int floatsPerVertex = 5;  // x, y, z, s, t

// The quads of the text being drawn; the memory is kept for the next text.
std::vector<float> textVertices;

struct Point3 {
    float x, y, z;
};

Point3 operator+(Point3 a, Point3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Point3 operator*(Point3 a, float factor) { return {a.x * factor, a.y * factor, a.z * factor}; }

struct Point4 {
    float x, y, z, w;
};

// Column-major, as GL hands matrices out.
Point4 transform(const float (&matrix)[16], Point4 p) {
    return {matrix[0] * p.x + matrix[4] * p.y + matrix[8] * p.z + matrix[12] * p.w,
            matrix[1] * p.x + matrix[5] * p.y + matrix[9] * p.z + matrix[13] * p.w,
            matrix[2] * p.x + matrix[6] * p.y + matrix[10] * p.z + matrix[14] * p.w,
            matrix[3] * p.x + matrix[7] * p.y + matrix[11] * p.z + matrix[15] * p.w};
}

int fontNumber(NumValue font) { return std::clamp(toInt(font), 0, fontCount - 1); }

const SpriteSlot& fontSlot(int font) { return openGLKestrel->sprites.slot(firstFontSlot + font); }

// A font as drawing needs it: its grid, and one cell's size in texture coordinates.
struct FontInUse {
    int spriteId = 0;
    FontGeometry geometry;
    float cellS = 0.0f;
    float cellT = 0.0f;
};

FontInUse fontInUse(int font) {
    const SpriteSlot& slot = fontSlot(font);
    FontInUse use;
    use.spriteId = firstFontSlot + font;
    use.geometry = fontGeometry(slot.width, slot.height);
    use.cellS = float(slot.width) / float(slot.textureWidth) / float(fontColumns);
    use.cellT = float(slot.height) / float(slot.textureHeight) / float(use.geometry.rows);
    return use;
}

struct TextureRect {
    float s0, t0, s1, t1;  // t0 is the cell's bottom edge: the texture holds the picture upside down
};

TextureRect cellTexture(const FontInUse& font, char byte) {
    const CharacterCell cell = characterCell(byte, font.geometry);
    const float s0 = font.cellS * float(cell.column);
    const float t0 = font.cellT * float(font.geometry.rows - 1 - cell.row);
    return {s0, t0, s0 + font.cellS, t0 + font.cellT};
}

void appendVertex(std::vector<float>& vertices, Point3 p, float s, float t) {
    vertices.insert(vertices.end(), {p.x, p.y, p.z, s, t});
}

// Corners counter-clockwise as the viewer sees them, which is the front face under the
// engine's culling.
void appendQuad(std::vector<float>& vertices, Point3 bottomLeft, Point3 right, Point3 up, const TextureRect& cell) {
    appendVertex(vertices, bottomLeft, cell.s0, cell.t0);
    appendVertex(vertices, bottomLeft + right, cell.s1, cell.t0);
    appendVertex(vertices, bottomLeft + right + up, cell.s1, cell.t1);
    appendVertex(vertices, bottomLeft + up, cell.s0, cell.t1);
}

// One quad per byte, the first with its bottom-left corner at `start`, each next one `right` on.
void layOutText(const StrValue& text, const FontInUse& font, Point3 start, Point3 right, Point3 up) {
    std::vector<float>& vertices = textVertices;
    vertices.clear();
    const char* bytes = text.cStr();
    for (std::uint32_t i = 0; i < text.length(); ++i) {
        appendQuad(vertices, start, right, up, cellTexture(font, bytes[i]));
        start = start + right;
    }
}

void drawTextVertices(const FontInUse& font) {
    const std::vector<float>& vertices = textVertices;
    bindSprite(font.spriteId, -1, false);
    glBegin(GL_QUADS);
    for (std::size_t i = 0; i < vertices.size(); i += floatsPerVertex) {
        glTexCoord2f(vertices[i + 3], vertices[i + 4]);
        glVertex3f(vertices[i], vertices[i + 1], vertices[i + 2]);
    }
    glEnd();
}

// A line of text in the 2D projection, its first cell's top-left corner at the pixel corner
// at or after (x, y), so that cells always cover whole pixels.
void printLine(const StrValue& text, int font, double x, double y, float depth) {
    if (text.length() == 0 || fontSlot(font).isEmpty()) return;
    const FontInUse use = fontInUse(font);
    const float cellWidth = float(use.geometry.cellWidth), cellHeight = float(use.geometry.cellHeight);
    const Point3 start{float(std::ceil(x)), float(std::ceil(y)) + cellHeight, depth};
    layOutText(text, use, start, {cellWidth, 0.0f, 0.0f}, {0.0f, -cellHeight, 0.0f});
    drawTextVertices(use);
}

// Switches a capability off for its lifetime and back on afterwards if it was on.
struct CapabilityOff {
    explicit CapabilityOff(GLenum which) : capability(which), wasOn(glIsEnabled(which) == GL_TRUE) {
        glDisable(capability);
    }
    ~CapabilityOff() {
        if (wasOn) glEnable(capability);
    }
    CapabilityOff(const CapabilityOff&) = delete;
    CapabilityOff& operator=(const CapabilityOff&) = delete;
    GLenum capability;
    bool wasOn;
};

// Projects the point and prints the text as screen text centred over it, at the point's depth.
// The centring uses font slot 0's cell width and a height of one eighth of its picture, whatever
// font draws.
void printAtProjectedPoint(const StrValue& text, Point3 point) {
    float modelView[16], projection[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    const Point4 clip = transform(projection, transform(modelView, {point.x, point.y, point.z, 1.0f}));
    if (clip.w == 0.0f) return;
    const double nx = clip.x / clip.w, ny = clip.y / clip.w, nz = clip.z / clip.w;
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    const SpriteSlot& firstFont = fontSlot(0);
    const int firstCellWidth = fontGeometry(firstFont.width, firstFont.height).cellWidth;
    const double x = (nx + 1.0) * viewport[2] / 2.0 - double(text.length()) * firstCellWidth / 2.0;
    const double y = viewport[3] * (1.0 - ny) / 2.0 - firstFont.height / 8;

    GLint matrixMode = GL_MODELVIEW;
    glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
    const Viewport& area = openGLKestrel->viewport;
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, area.width, area.height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    printLine(text, currentFont, x, y, float(-nz));
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GLenum(matrixMode));
}

// Prints the text centred on the point, in the plane facing the camera: the quads run along the
// model-view's right and up axes, each `size` cell widths on a side.
void printFacingCamera(const StrValue& text, Point3 point, float size) {
    if (fontSlot(currentFont).isEmpty()) return;
    const FontInUse use = fontInUse(currentFont);
    float modelView[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
    const float side = size * float(use.geometry.cellWidth);
    const Point3 right = Point3{modelView[0], modelView[4], modelView[8]} * side;
    const Point3 up = Point3{modelView[1], modelView[5], modelView[9]} * side;
    const Point3 start = point + right * (-float(text.length()) / 2.0f);
    layOutText(text, use, start, right, up);
    drawTextVertices(use);
}

} // namespace

void setFont(NumValue font) {
    if (openGLKestrel) currentFont = fontNumber(font);
}

// A font slot named here is never left empty: whatever cannot be loaded, the built-in font
// stands in for.
void loadFont(const StrValue& fileName, NumValue font) {
    if (!openGLKestrel) return;
    const int number = fontNumber(font);
    currentFont = number;
    StrValue path;
    const bool loaded = resolveFile(generalArchive, fileName, path) &&
                        openGLKestrel->sprites.loadFontSlot(number, path.cStr());
    if (!loaded) buildBuiltinFont(number);
}

void printText(const StrValue& text, NumValue x, NumValue y) {
    if (openGLKestrel) printLine(text, currentFont, x, y, 0.0f);
}

void printNumber(NumValue number, NumValue x, NumValue y) {
    if (openGLKestrel) printText(formatNumber(number), x, y);
}

void getFontSize(NumValue& width, NumValue& height) {
    width = height = 0;
    if (!openGLKestrel) return;
    const SpriteSlot& slot = fontSlot(currentFont);
    const FontGeometry geometry = fontGeometry(slot.width, slot.height);
    width = geometry.cellWidth;
    height = geometry.cellHeight;
}

void printText3D(const StrValue& text, NumValue x, NumValue y, NumValue z, NumValue size) {
    if (!openGLKestrel || text.length() == 0) return;
    const CapabilityOff noCulling(GL_CULL_FACE);
    const CapabilityOff noLighting(GL_LIGHTING);
    const Point3 point{float(x), float(y), float(z)};
    if (size == 0)
        printAtProjectedPoint(text, point);
    else
        printFacingCamera(text, point, float(size));
}

} // namespace tarvoke
