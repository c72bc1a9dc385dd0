// Pixel-exact collision of two sprites, or two animation frames, drawn unscaled: both must be
// non-transparent in the same screen pixel.
#include <algorithm>
#include "graphics2d/Collision.h"
#include "graphics2d/OpenGLKestrel.h"

namespace tarvoke {
namespace {

// One side of a test: a sprite placed so that its picture's pixel (0, 0) is at `left`, `top`,
// of which only the area `area` (screen pixels) takes part.
// Positions are 64-bit: a game's coordinates may be anywhere in the 32-bit range.
struct Placement {
    int id;
    long long left, top;  // where the picture's top-left pixel lands on the screen
    long long areaLeft, areaTop, areaWidth, areaHeight;
};

// Alpha of the picture's pixel, 0 outside the picture (a frame past the strip's end).
std::uint8_t alphaAt(const SpriteSlot& slot, const std::vector<std::uint8_t>& mask, long long column, long long row) {
    if (column < 0 || row < 0 || column >= slot.width || row >= slot.height) return 0;
    const long long texelRow = slot.height - 1 - row;  // pictures are stored upside down
    return mask[std::size_t(texelRow) * std::size_t(slot.textureWidth) + std::size_t(column)];
}

int overlapTest(SpriteStore& store, const Placement& a, const Placement& b) {
    const long long startX = std::max(a.areaLeft, b.areaLeft);
    const long long endX = std::min(a.areaLeft + a.areaWidth, b.areaLeft + b.areaWidth);
    const long long startY = std::max(a.areaTop, b.areaTop);
    const long long endY = std::min(a.areaTop + a.areaHeight, b.areaTop + b.areaHeight);
    if (endX <= startX || endY <= startY) return 0;
    const std::vector<std::uint8_t>& maskA = store.collisionMask(a.id);
    const std::vector<std::uint8_t>& maskB = store.collisionMask(b.id);
    if (maskA.empty() || maskB.empty()) return 0;
    const SpriteSlot& slotA = store.slot(a.id);
    const SpriteSlot& slotB = store.slot(b.id);
    // Four interleaved passes over a grid of step 2: a hit anywhere is usually found early.
    for (int pass = 0; pass < 4; ++pass) {
        for (long long y = startY + pass / 2; y < endY; y += 2) {
            for (long long x = startX + pass % 2; x < endX; x += 2) {
                if (alphaAt(slotA, maskA, x - a.left, y - a.top) && alphaAt(slotB, maskB, x - b.left, y - b.top))
                    return 1;
            }
        }
    }
    return 0;
}

Placement wholePicture(SpriteStore& store, int id, int x, int y) {
    const SpriteSlot& slot = store.slot(id);
    return {id, x, y, x, y, slot.width, slot.height};
}

// A frame's placement; false when the strip holds no whole frame in a row.
bool framePlacement(SpriteStore& store, int id, int frame, int x, int y, Placement& placement) {
    const SpriteSlot& slot = store.slot(id);
    if (slot.frameWidth == 0) {
        placement = wholePicture(store, id, x, y);
        return true;
    }
    const int framesPerRow = slot.width / slot.frameWidth;
    if (framesPerRow <= 0 || slot.frameHeight <= 0 || slot.height < slot.frameHeight) return false;
    const long long offsetX = slot.frameWidth * (frame % framesPerRow);
    const long long offsetY = static_cast<long long>(frame / framesPerRow) * slot.frameHeight;
    placement = {id, x - offsetX, y - offsetY, x, y, slot.frameWidth, slot.frameHeight};
    return true;
}

} // namespace

int testSpriteCollision(int id1, int x1, int y1, int id2, int x2, int y2) {
    if (!openGLKestrel || !SpriteStore::isValidId(id1) || !SpriteStore::isValidId(id2)) return 0;
    SpriteStore& store = openGLKestrel->sprites;
    return overlapTest(store, wholePicture(store, id1, x1, y1), wholePicture(store, id2, x2, y2));
}

int testAnimCollision(int id1, int frame1, int x1, int y1, int id2, int frame2, int x2, int y2) {
    if (!openGLKestrel || !SpriteStore::isValidId(id1) || !SpriteStore::isValidId(id2)) return 0;
    SpriteStore& store = openGLKestrel->sprites;
    Placement first, second;
    if (!framePlacement(store, id1, frame1, x1, y1, first) || !framePlacement(store, id2, frame2, x2, y2, second))
        return 0;
    return overlapTest(store, first, second);
}

} // namespace tarvoke
