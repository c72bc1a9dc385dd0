// Cel shading's textures: per mesh, the palette's colours (one row each) darkened across the
// brightness ramp (columns), which the drawing code indexes by light and colour; and the ramp.
#include <GL/gl.h>
#include <algorithm>
#include "graphics3d/Kestrel3D.h"
#include "graphics3d/ObjectDrawing.h"
#include "tarvoke/arrays.h"
#include "tarvoke/graphics3d.h"

namespace tarvoke {
namespace {

constexpr int narrowestCelTexture = 64;
constexpr int widestCelTexture = 512;
constexpr int tallestCelTexture = 32767;

int celTextureHeight(std::size_t paletteSize) {
    int height = 1;
    while (std::size_t(height) < paletteSize && height < tallestCelTexture) height *= 2;
    return height;
}

int celTextureWidth(std::size_t rampLength) {
    int width = narrowestCelTexture;
    while (std::size_t(width) < 4 * rampLength && width < widestCelTexture) width *= 2;
    return width;
}

} // namespace

void buildCelTexture(MeshObjectX& mesh, const std::vector<std::uint8_t>& ramp) {
    if (ramp.empty()) return;
    const int height = celTextureHeight(mesh.palette.count());
    const int width = celTextureWidth(ramp.size());
    std::vector<std::uint8_t> texels(std::size_t(width) * std::size_t(height) * 4);
    for (int row = 0; row < height; ++row) {
        const std::uint32_t value = mesh.paletteValue(std::uint8_t(std::min(row, 255)));
        // Markers and the white above real colours shade as white: a grey ramp.
        const std::uint32_t colour = value > lastRealColour ? whiteColour : value;
        for (int column = 0; column < width; ++column) {
            const unsigned level = ramp[std::size_t(column) * ramp.size() / std::size_t(width)];
            std::uint8_t* texel = &texels[(std::size_t(row) * std::size_t(width) + std::size_t(column)) * 4];
            for (int channel = 0; channel < 3; ++channel)
                texel[channel] = std::uint8_t(((colour >> (8 * channel)) & 0xFF) * level / 255);
            texel[3] = 255;
        }
    }
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glBindTexture(GL_TEXTURE_2D, mesh.celTexture.generate());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    mesh.celHeightReciprocal = 1.0f / float(height);
    glBindTexture(GL_TEXTURE_2D, GLuint(bound));  // the object's own texture stays bound
}

// Every slot's cel textures go, so that each is built again with the new ramp when next drawn.
void setCelShadingRamp(const NumArray& ramp) {
    const std::size_t count = ramp.shape().elementCount();
    if (count == 0) arrayIndexError();
    if (!kestrel3D) return;
    std::vector<std::uint8_t>& levels = kestrel3D->celRamp;
    levels.assign(count, 0);
    const NumValue* values = ramp.data();
    for (std::size_t i = 0; i < count; ++i)
        levels[i] = values[i] >= 1.0 ? 255 : values[i] > 0.0 ? std::uint8_t(values[i] * 255.0) : 0;
    for (ObjectSlot& slot : kestrel3D->objects)
        for (MeshObjectX& mesh : slot.meshes) mesh.celTexture.reset();
}

} // namespace tarvoke
