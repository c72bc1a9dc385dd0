// The sprite commands: loading pictures into slots, sizes, collisions, and saving pictures.
#include <GL/gl.h>
#include <array>
#include <vector>
#include "files/ArchiveSlot.h"
#include "graphics2d/Collision.h"
#include "graphics2d/Grabs.h"
#include "graphics2d/ImageFiles.h"
#include "graphics2d/OpenGLKestrel.h"
#include "tarvoke/graphics2d.h"

namespace tarvoke {
namespace {

// The store, when the engine runs and the id names a slot; commands with an invalid id do nothing.
SpriteStore* storeFor(int id) {
    return (openGLKestrel && SpriteStore::isValidId(id)) ? &openGLKestrel->sprites : nullptr;
}

bool loadIntoSlot(const StrValue& fileName, int id, std::int32_t colourKey, bool normalMap) {
    SpriteStore* store = storeFor(id);
    if (!store) return false;
    store->freeSprite(id);
    StrValue path;
    if (!resolveFile(generalArchive, fileName, path)) return false;
    return store->loadSpriteFile(id, path.cStr(), colourKey, normalMap);
}

} // namespace

void loadSprite(const StrValue& fileName, NumValue id) {
    if (SpriteStore* store = storeFor(toInt(id))) loadIntoSlot(fileName, toInt(id), store->spriteColourKey, false);
}

void loadAnim(const StrValue& fileName, NumValue id, NumValue frameWidth, NumValue frameHeight) {
    const int slotId = toInt(id);
    SpriteStore* store = storeFor(slotId);
    if (!store) return;
    loadIntoSlot(fileName, slotId, store->spriteColourKey, false);
    if (store->slot(slotId).width > 0) store->setFrameSize(slotId, toInt(frameWidth), toInt(frameHeight));
}

void loadBumpTexture(const StrValue& fileName, NumValue id) {
    loadIntoSlot(fileName, toInt(id), defaultSpriteColourKey, true);
}

void setTransparency(NumValue colour) {
    if (!openGLKestrel) return;
    openGLKestrel->sprites.spriteColourKey = toInt(colour);
    openGLKestrel->sprites.fontColourKey = toInt(colour);
}

void getSpriteSize(NumValue id, NumValue& width, NumValue& height) {
    width = height = 0;
    if (SpriteStore* store = storeFor(toInt(id))) {
        width = store->slot(toInt(id)).width;
        height = store->slot(toInt(id)).height;
    }
}

NumValue spriteCollision(NumValue id1, NumValue x1, NumValue y1, NumValue id2, NumValue x2, NumValue y2) {
    return testSpriteCollision(toInt(id1), toInt(x1), toInt(y1), toInt(id2), toInt(x2), toInt(y2));
}

NumValue animCollision(NumValue id1, NumValue frame1, NumValue x1, NumValue y1,
                       NumValue id2, NumValue frame2, NumValue x2, NumValue y2) {
    return testAnimCollision(toInt(id1), toInt(frame1), toInt(x1), toInt(y1),
                             toInt(id2), toInt(frame2), toInt(x2), toInt(y2));
}

NumValue saveScreen(const StrValue& fileName) {
    if (!openGLKestrel || !openGLKestrel->main.window) return 0;
    const int width = openGLKestrel->main.screenWidth, height = openGLKestrel->main.screenHeight;
    std::vector<std::uint8_t> rows(std::size_t(width) * std::size_t(height) * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_BGR, GL_UNSIGNED_BYTE, rows.data());
    const KeyProbe probe = probeKeyColour();
    return writeImageFile(fileName.cStr(), rows.data(), width, height, width, probe) ? 1 : 0;
}

NumValue saveSprite(const StrValue& fileName, NumValue id) {
    SpriteStore* store = storeFor(toInt(id));
    if (!store || store->slot(toInt(id)).isEmpty()) return 0;
    const SpriteSlot& slot = store->slot(toInt(id));
    std::vector<std::uint8_t> rows(std::size_t(slot.textureWidth) * std::size_t(slot.textureHeight) * 3);
    glBindTexture(GL_TEXTURE_2D, slot.texture.name());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGR, GL_UNSIGNED_BYTE, rows.data());
    const KeyProbe probe = probeKeyColour();
    // Texel row 0 holds the picture's bottom row, which is the order the writer takes.
    return writeImageFile(fileName.cStr(), rows.data(), slot.width, slot.height, slot.textureWidth, probe) ? 1 : 0;
}

} // namespace tarvoke
