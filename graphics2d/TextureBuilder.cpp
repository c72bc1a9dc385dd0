// makeTexture: an image rectangle becomes a power-of-two texture, stored upside down, with
// colour bleeding, an optional normal map and an optional mipmapped copy.
#include <algorithm>
#include "graphics2d/OpenGLKestrel.h"
#include "graphics2d/SpriteStore.h"
#include "graphics2d/Texels.h"

namespace tarvoke {
namespace {

// Without a context's own limit, 1024 is a side every driver takes.
int textureSideLimit() {
    const int largest = largestTextureSide();
    return largest > 0 ? largest : 1024;
}

void uploadLevel(int level, int width, int height, const Texels& texels) {
    glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
}

void bindNew(GlTexture& texture, GLint minification, GLint magnification) {
    glBindTexture(GL_TEXTURE_2D, texture.generate());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    if (minification == magnification) {
        texture.applyFilter(minification);
    } else {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minification);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magnification);
    }
}

void uploadMipmapped(GlTexture& texture, Texels level, int width, int height) {
    bindNew(texture, GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR);
    uploadLevel(0, width, height, level);
    for (int index = 1; width > 1 || height > 1; ++index) {
        int nextWidth = 0, nextHeight = 0;
        level = nextMipLevel(level, width, height, nextWidth, nextHeight);
        width = nextWidth;
        height = nextHeight;
        uploadLevel(index, width, height, level);
    }
}

} // namespace

int textureSide(int size) {
    int side = 2;
    while (side < size && side < (1 << 30)) side *= 2;
    return side;
}

bool prepareTexels(const Image& image, int x, int y, int w, int h, const TextureOptions& options, TexelBlock& block) {
    if (w == 0) w = image.width - x;
    if (h == 0) h = image.height - y;
    if (w < 1 || h < 1) return false;
    const int largest = textureSideLimit();
    w = std::min(w, largest);
    h = std::min(h, largest);
    block.width = textureSide(w);
    block.height = textureSide(h);
    block.texels = copyUpsideDown(image, x, y, w, h, block.width, block.height);
    if (!options.nearest && options.bleed) bleedColours(block.texels, block.width, block.height);
    if (options.normalMap) block.texels = normalMapOf(block.texels, block.width, block.height);
    return true;
}

void uploadTexels(TexelBlock block, GlTexture& texture, const TextureOptions& options) {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    const GLint filter = options.nearest ? GL_NEAREST : GL_LINEAR;
    bindNew(texture, filter, filter);
    uploadLevel(0, block.width, block.height, block.texels);
    if (options.mipmapped) uploadMipmapped(*options.mipmapped, std::move(block.texels), block.width, block.height);
}

bool makeTexture(const Image& image, int x, int y, int w, int h, GlTexture& texture, const TextureOptions& options) {
    TexelBlock block;
    if (!prepareTexels(image, x, y, w, h, options, block)) return false;
    uploadTexels(std::move(block), texture, options);
    return true;
}

} // namespace tarvoke
