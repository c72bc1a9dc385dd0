#include "graphics2d/Grabs.h"
#include <GL/gl.h>
#include <algorithm>
#include <array>
#include "graphics2d/Background.h"
#include "graphics2d/Graphics2D.h"
#include "graphics2d/OpenGLKestrel.h"
#include "tarvoke/graphics2d.h"

namespace tarvoke {
namespace {

// Rows read back for grabs when the frame buffer has no alpha; the memory is kept.
std::vector<std::uint8_t> grabBuffer;

// Grab textures start at 32 texels a side.
int grabTextureSide(int size) {
    int side = 32;
    while (side < size) side *= 2;
    return side;
}

std::array<GLubyte, 3> readScreenPixel(int x, int y) {
    std::array<GLubyte, 3> rgb{};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, openGLKestrel->main.screenHeight - 1 - y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

void newEmptyTexture(GlTexture& texture, int width, int height) {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glBindTexture(GL_TEXTURE_2D, texture.generate());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    texture.applyFilter(GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
}

// Reads the TW x TH area from (left, bottom) as BGRA into the grab buffer; only the part on the
// window is read, the rest stays zero (transparent black).
void readAreaIntoGrabBuffer(const OpenGLKestrel& kestrel, int left, int bottom, int textureWidth, int textureHeight) {
    std::vector<std::uint8_t>& buffer = grabBuffer;
    buffer.assign(std::size_t(textureWidth) * std::size_t(textureHeight) * 4, 0);
    const int readLeft = std::max(left, 0), readBottom = std::max(bottom, 0);
    const int readRight = std::min(left + textureWidth, kestrel.main.screenWidth);
    const int readTop = std::min(bottom + textureHeight, kestrel.main.screenHeight);
    if (readRight <= readLeft || readTop <= readBottom) return;
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ROW_LENGTH, textureWidth);
    glPixelStorei(GL_PACK_SKIP_PIXELS, readLeft - left);
    glPixelStorei(GL_PACK_SKIP_ROWS, readBottom - bottom);
    glReadPixels(readLeft, readBottom, readRight - readLeft, readTop - readBottom, GL_BGRA, GL_UNSIGNED_BYTE, buffer.data());
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_PACK_SKIP_ROWS, 0);
}

// Without destination alpha the key's pixels are made transparent by their colour. Key 0 is
// black itself; key -1 makes nothing transparent.
void clearKeyedAlpha(std::vector<std::uint8_t>& bgra, std::int32_t key) {
    if (key == -1) return;
    KeyProbe probe = probeKeyColour();
    for (std::size_t at = 0; at < bgra.size(); at += 4) {
        if (bgra[at] == probe.blue && bgra[at + 1] == probe.green && bgra[at + 2] == probe.red) bgra[at + 3] = 0;
    }
}

} // namespace

KeyProbe probeKeyColour() {
    KeyProbe probe;
    const std::int32_t key = openGLKestrel->sprites.spriteColourKey;
    if (key == 0 || key == -1) return probe;
    // The key draws with alpha 0, so with blending on it would not show at all: the probe
    // draws with blending off and leaves the blend state as it found it.
    const bool blending = glIsEnabled(GL_BLEND) == GL_TRUE;
    glDisable(GL_BLEND);
    const std::array<GLubyte, 3> saved = readScreenPixel(4, 4);
    setPixel(4, 4, key);
    const std::array<GLubyte, 3> shown = readScreenPixel(4, 4);
    setPixel(4, 4, saved[0] | saved[1] << 8 | saved[2] << 16);
    if (blending) glEnable(GL_BLEND);
    probe.present = true;
    probe.red = shown[0];
    probe.green = shown[1];
    probe.blue = shown[2];
    return probe;
}

bool grabIntoSprite(int id, int x, int y, int width, int height) {
    OpenGLKestrel* kestrel = openGLKestrel;
    if (!kestrel || !SpriteStore::isValidId(id) || width < 1 || height < 1) return false;
    const int largest = largestTextureSide();
    if (width > largest || height > largest) return false;
    const int textureWidth = grabTextureSide(width), textureHeight = grabTextureSide(height);
    SpriteSlot& slot = kestrel->sprites.slot(id);
    const bool sameSize = slot.textureWidth == textureWidth && slot.textureHeight == textureHeight && slot.texture.exists();
    if (sameSize) {
        glBindTexture(GL_TEXTURE_2D, slot.texture.name());
    } else {
        slot.mipTexture.reset();
        newEmptyTexture(slot.texture, textureWidth, textureHeight);
    }
    const int bottom = kestrel->main.screenHeight - y - height;  // GL counts rows from the bottom
    if (kestrel->main.hasDestinationAlpha) {
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, x, bottom, width, height);
    } else {
        readAreaIntoGrabBuffer(*kestrel, x, bottom, textureWidth, textureHeight);
        clearKeyedAlpha(grabBuffer, kestrel->sprites.spriteColourKey);
        glBindTexture(GL_TEXTURE_2D, slot.texture.name());
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, textureWidth, textureHeight, 0, GL_BGRA, GL_UNSIGNED_BYTE,
                     grabBuffer.data());
    }
    slot.textureWidth = std::int16_t(textureWidth);
    slot.textureHeight = std::int16_t(textureHeight);
    slot.width = std::int16_t(width);
    slot.height = std::int16_t(height);
    kestrel->sprites.collisionMasks[std::size_t(id)] = {};
    return true;
}

void grabIntoTiledImage(int index) {
    OpenGLKestrel* kestrel = openGLKestrel;
    if (!kestrel) return;
    const int screenWidth = kestrel->main.screenWidth, screenHeight = kestrel->main.screenHeight;
    const int largest = largestTextureSide();
    int side = 128;
    while (side < std::max(screenWidth, screenHeight) && side < largest) side *= 2;
    const int columns = (screenWidth + side - 1) / side, rows = (screenHeight + side - 1) / side;
    TiledImage& tiled = kestrel->sprites.tiledImages[std::size_t(index)];
    if (tiled.columns != columns || tiled.rows != rows) {
        tiled = TiledImage{};
        tiled.tiles.resize(std::size_t(columns * rows));
        tiled.columns = columns;
        tiled.rows = rows;
    }
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            Tile& tile = tiled.tile(column, row);
            const int usedWidth = std::min(side, screenWidth - column * side);
            const int usedHeight = std::min(side, screenHeight - row * side);
            if (tile.texture.exists() && tile.textureWidth == side && tile.textureHeight == side)
                glBindTexture(GL_TEXTURE_2D, tile.texture.name());
            else
                newEmptyTexture(tile.texture, side, side);
            glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, column * side, screenHeight - row * side - usedHeight, usedWidth, usedHeight);
            tile.textureWidth = tile.textureHeight = side;
            tile.usedWidth = usedWidth;
            tile.usedHeight = usedHeight;
        }
    }
}

NumValue grabSprite(NumValue id, NumValue x, NumValue y, NumValue width, NumValue height) {
    return grabIntoSprite(toInt(id), toInt(x), toInt(y), toInt(width), toInt(height)) ? 1 : 0;
}

void grabBackground() { grabIntoTiledImage(0); }

namespace {
constexpr int screenCopyImage = 3;
} // namespace

void keepScreenCopy() { grabIntoTiledImage(screenCopyImage); }

void drawScreenCopy() { drawTiledImage(screenCopyImage); }

void dropScreenCopy() {
    if (openGLKestrel) openGLKestrel->sprites.freeTiledImage(screenCopyImage);
}

NumValue getPixel(NumValue x, NumValue y) {
    if (!openGLKestrel) return 0;
    glReadBuffer(GL_BACK);
    const std::array<GLubyte, 3> rgb = readScreenPixel(toInt(x), toInt(y));
    return rgb[0] + rgb[1] * 256 + rgb[2] * 65536;
}

} // namespace tarvoke
