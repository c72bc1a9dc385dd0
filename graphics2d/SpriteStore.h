// SpriteStore: the 65536 sprite slots and the 16 tiled images of OpenGLKestrel. A slot holds a
// picture as a texture (stored upside down, padded to powers of two) with the sizes drawing
// needs; a tiled image holds a large picture, such as the background, cut into square textures.
// Collision masks (each slot's alpha, read back on first use) live beside the slots.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>
#include "graphics2d/GlTexture.h"
#include "graphics2d/Image.h"

namespace tarvoke {

struct SpriteSlot {
    GlTexture texture;                // for 2D drawing
    GlTexture mipTexture;             // the same picture with mipmaps, for 3D drawing
    std::int16_t textureWidth = -1;   // a power of two; -1 when empty
    std::int16_t textureHeight = -1;
    std::int16_t width = 0;           // the picture's size; 0 when empty
    std::int16_t height = 0;
    std::int16_t frameWidth = 0;      // one animation frame; 0: not an animation strip
    std::int16_t frameHeight = 0;

    bool isEmpty() const { return width <= 0 || height <= 0; }
};

struct Tile {
    GlTexture texture;
    int textureWidth = 0, textureHeight = 0;
    int usedWidth = 0, usedHeight = 0;
};

struct TiledImage {
    static constexpr int largestGrid = 64;  // tiles per side at most
    std::vector<Tile> tiles;                // column-major: column x rows + row
    int columns = 0;
    int rows = 0;
    Tile& tile(int column, int row) { return tiles[std::size_t(column * rows + row)]; }
};

// How makeTexture builds a texture from a rectangle of an image.
struct TextureOptions {
    bool nearest = false;     // nearest filtering, and no colour bleeding
    bool bleed = true;        // colour bleeding at transparent edges (with linear filtering)
    bool normalMap = false;   // convert the blue channel's heights into a normal map
    GlTexture* mipmapped = nullptr;  // also build a mipmapped copy here
};

constexpr int spriteSlotCount = 65536;
constexpr int firstFontSlot = 65504;   // font n lives in slot 65504 + n
constexpr int scratchSlot = 65503;     // used by offscreen screens without framebuffer objects
constexpr int tiledImageCount = 16;
constexpr std::int32_t defaultSpriteColourKey = 0x8000ff;

class SpriteStore {
public:
    SpriteStore();
    std::vector<SpriteSlot> slots;                            // indexed by sprite id
    std::vector<std::vector<std::uint8_t>> collisionMasks;   // per slot, built on first use
    std::array<TiledImage, tiledImageCount> tiledImages;
    std::int32_t spriteColourKey = defaultSpriteColourKey;  // -1: no colour is transparent
    std::int32_t fontColourKey = 0;

    static bool isValidId(int id) { return id >= 0 && id < spriteSlotCount; }
    SpriteSlot& slot(int id) { return slots[std::size_t(id)]; }
    const SpriteSlot& slot(int id) const { return slots[std::size_t(id)]; }

    void freeSprite(int id);
    bool loadSpriteFile(int id, const std::string& path, std::int32_t colourKey, bool normalMap);
    bool loadFontSlot(int font, const std::string& path);
    void setFrameSize(int id, int frameWidth, int frameHeight);
    void freeTiledImage(int index);
    bool loadTiledImage(int index, const std::string& path);
    void freeAll();
    // The slot's alpha, textureWidth x textureHeight bytes, read back from its texture once.
    const std::vector<std::uint8_t>& collisionMask(int id);
};

// Builds the texture (and optionally its mipmapped copy) from the rectangle x, y, w, h of the
// image; w or h of 0 reaches to the image's edge. False when the rectangle is empty.
bool makeTexture(const Image& image, int x, int y, int w, int h, GlTexture& texture, const TextureOptions& options);

// A picture file as a texture of its own for 3D objects (not in any slot): read with the sprite
// colour key, built like a sprite's texture, with its mipmapped copy in `mipmapped`. False, with
// both left empty, when the file cannot be read, the picture is larger than the context's
// textures, or the engine has no graphics.
bool loadObjectTextureFile(const std::string& path, GlTexture& texture, GlTexture& mipmapped);
// makeTexture in two steps, so that a caller can free the image between them: the rectangle's
// texels as the options ask (false when the rectangle is empty), then their upload.
struct TexelBlock {
    PixelBytes texels;
    int width = 0, height = 0;  // powers of two
};
bool prepareTexels(const Image& image, int x, int y, int w, int h, const TextureOptions& options, TexelBlock& block);
void uploadTexels(TexelBlock block, GlTexture& texture, const TextureOptions& options);

// The most memory the build of one picture may take at once (our buffers and the driver's
// copies together); a larger picture is refused before it is decoded, with an error-log line.
constexpr std::uint64_t pictureMemoryBudget = std::uint64_t(1) << 30;

// The smallest power of two, at least 2, not below `size`.
int textureSide(int size);

} // namespace tarvoke
