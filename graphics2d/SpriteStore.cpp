#include "graphics2d/SpriteStore.h"
#include <algorithm>
#include "graphics2d/ImageFiles.h"
#include "graphics2d/OpenGLKestrel.h"
#include "tarvoke/core.h"

namespace tarvoke {
namespace {

constexpr std::uint64_t bytesPerTexel = 4;
constexpr std::uint64_t mebibyte = std::uint64_t(1) << 20;

std::uint64_t rgbaBytes(std::uint64_t width, std::uint64_t height) { return width * height * bytesPerTexel; }

// At most, building a sprite holds the decoded picture beside its texels; then, with the picture
// freed, the texels beside the driver's copy of the texture and of its mipmapped copy (whose
// chain adds a third).
std::uint64_t spriteBuildBytes(int width, int height, bool mipmapped) {
    const std::uint64_t texture = rgbaBytes(std::uint64_t(textureSide(width)), std::uint64_t(textureSide(height)));
    const std::uint64_t uploading = texture * 2 + (mipmapped ? texture * 4 / 3 : 0);
    return std::max(rgbaBytes(std::uint64_t(width), std::uint64_t(height)) + texture, uploading);
}

// A tiled image keeps the picture while it builds the tiles one at a time.
std::uint64_t tiledBuildBytes(int width, int height, int tileSide) {
    const std::uint64_t columns = std::uint64_t((width + tileSide - 1) / tileSide);
    const std::uint64_t rows = std::uint64_t((height + tileSide - 1) / tileSide);
    const std::uint64_t tile = rgbaBytes(std::uint64_t(tileSide), std::uint64_t(tileSide));
    return rgbaBytes(std::uint64_t(width), std::uint64_t(height)) + (columns * rows + 1) * tile;
}

bool withinBudget(const std::string& path, int width, int height, std::uint64_t bytes) {
    if (bytes <= pictureMemoryBudget) return true;
    const std::string line = "Picture too large: " + path + " is " + std::to_string(width) + " x " +
                             std::to_string(height) + " pixels and would take about " +
                             std::to_string((bytes + mebibyte - 1) / mebibyte) + " MiB to load, more than the " +
                             std::to_string(pictureMemoryBudget / mebibyte) + " MiB a picture may take";
    appendErrorLog(StrValue(line.c_str()));
    return false;
}

} // namespace

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
    SpriteSlot& loaded = slot(id);
    TextureOptions options;
    if (id >= firstFontSlot) {
        options.nearest = true;
    } else {
        options.normalMap = normalMap;
        options.mipmapped = &loaded.mipTexture;
    }
    // A picture wider or taller than any texture can be would be drawn from a clipped texture
    // stretched over its full size; such a picture is refused before it is decoded.
    const auto fits = [&](int width, int height) {
        const int largest = std::min(largestTextureSide(), 32767);
        return width <= largest && height <= largest &&
               withinBudget(path, width, height, spriteBuildBytes(width, height, options.mipmapped != nullptr));
    };
    Image image;
    TexelBlock block;
    if (!readImageFile(image, path, colourKey, fits) || image.isEmpty() ||
        !prepareTexels(image, 0, 0, 0, 0, options, block))
        return false;
    const int width = image.width, height = image.height;
    image.clear();  // the texels hold it now
    uploadTexels(std::move(block), loaded.texture, options);
    loaded.textureWidth = std::int16_t(textureSide(width));
    loaded.textureHeight = std::int16_t(textureSide(height));
    loaded.width = std::int16_t(width);
    loaded.height = std::int16_t(height);
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
    const int tileSide = std::clamp(largestTextureSide(), 2, 512);
    const auto fits = [&](int width, int height) {
        return withinBudget(path, width, height, tiledBuildBytes(width, height, tileSide));
    };
    Image image;
    if (!readImageFile(image, path, noColourKey, fits) || image.isEmpty()) return false;
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
