#include "graphics2d/SpriteStore.h"
#include <algorithm>
#include "graphics2d/ImageFiles.h"
#include "graphics2d/OpenGLKestrel.h"

namespace tarvoke {

bool glContextExists() { return openGLKestrel && openGLKestrel->main.glReady; }

SpriteStore::SpriteStore() : slots(spriteSlotCount), collisionMasks(spriteSlotCount) {}

void SpriteStore::freeSprite(int id) {
    SpriteSlot& freed = slot(id);
    freed.texture.reset();
    freed.mipTexture.reset();
    freed.textureWidth = freed.textureHeight = -1;
    freed.width = freed.height = 0;
    collisionMasks[std::size_t(id)] = {};
}

bool SpriteStore::loadSpriteFile(int id, const std::string& path, std::int32_t colourKey, bool normalMap) {
    freeSprite(id);
    Image image;
    if (!readImageFile(image, path, colourKey) || image.isEmpty()) return false;
    // A picture wider or taller than any texture can be would be drawn from a clipped texture
    // stretched over its full size; such a picture is refused instead.
    const int largest = largestTextureSide();
    if (image.width > largest || image.height > largest || image.width > 32767 || image.height > 32767) return false;

    SpriteSlot& loaded = slot(id);
    TextureOptions options;
    if (id >= firstFontSlot) {
        options.nearest = true;
    } else {
        options.normalMap = normalMap;
        options.mipmapped = &loaded.mipTexture;
    }
    if (!makeTexture(image, 0, 0, 0, 0, loaded.texture, options)) return false;
    loaded.textureWidth = std::int16_t(textureSide(image.width));
    loaded.textureHeight = std::int16_t(textureSide(image.height));
    loaded.width = std::int16_t(image.width);
    loaded.height = std::int16_t(image.height);
    return true;
}

bool loadObjectTextureFile(const std::string& path, GlTexture& texture, GlTexture& mipmapped) {
    texture.reset();
    mipmapped.reset();
    Image image;
    if (!openGLKestrel || !readImageFile(image, path, openGLKestrel->sprites.spriteColourKey) || image.isEmpty())
        return false;
    const int largest = largestTextureSide();
    if (image.width > largest || image.height > largest) return false;
    TextureOptions options;
    options.mipmapped = &mipmapped;
    if (makeTexture(image, 0, 0, 0, 0, texture, options)) return true;
    texture.reset();
    mipmapped.reset();
    return false;
}

bool SpriteStore::loadFontSlot(int font, const std::string& path) {
    return loadSpriteFile(firstFontSlot + font, path, fontColourKey, false);
}

void SpriteStore::setFrameSize(int id, int frameWidth, int frameHeight) {
    slot(id).frameWidth = std::int16_t(std::clamp(frameWidth, 0, 32767));
    slot(id).frameHeight = std::int16_t(std::clamp(frameHeight, 0, 32767));
}

void SpriteStore::freeTiledImage(int index) { tiledImages[std::size_t(index)] = TiledImage{}; }

bool SpriteStore::loadTiledImage(int index, const std::string& path) {
    Image image;
    if (!readImageFile(image, path, noColourKey) || image.isEmpty()) return false;
    const int tileSide = std::clamp(largestTextureSide(), 2, 512);
    const int columns = (image.width + tileSide - 1) / tileSide;
    const int rows = (image.height + tileSide - 1) / tileSide;
    freeTiledImage(index);
    if (columns > TiledImage::largestGrid || rows > TiledImage::largestGrid) return false;

    TiledImage& tiled = tiledImages[std::size_t(index)];
    tiled.tiles.resize(std::size_t(columns * rows));
    tiled.columns = columns;
    tiled.rows = rows;
    // Tiles are drawn with the alpha test off: bled colour in the padding past a picture smaller
    // than the tile would show as a fringe, and backgrounds have no keyed edges to bleed for.
    TextureOptions options;
    options.bleed = false;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            Tile& tile = tiled.tile(column, row);
            if (!makeTexture(image, column * tileSide, row * tileSide, tileSide, tileSide, tile.texture, options)) {
                freeTiledImage(index);
                return false;
            }
            tile.textureWidth = tile.textureHeight = tile.usedWidth = tile.usedHeight = tileSide;
        }
    }
    return true;
}

void SpriteStore::freeAll() {
    for (int id = 0; id < spriteSlotCount; ++id) freeSprite(id);
    for (int index = 0; index < tiledImageCount; ++index) freeTiledImage(index);
}

const std::vector<std::uint8_t>& SpriteStore::collisionMask(int id) {
    std::vector<std::uint8_t>& mask = collisionMasks[std::size_t(id)];
    const SpriteSlot& source = slot(id);
    if (!mask.empty() || !source.texture.exists()) return mask;
    mask.resize(std::size_t(source.textureWidth) * std::size_t(source.textureHeight));
    glBindTexture(GL_TEXTURE_2D, source.texture.name());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_ALPHA, GL_UNSIGNED_BYTE, mask.data());
    return mask;
}

} // namespace tarvoke
