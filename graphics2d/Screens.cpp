#include "graphics2d/Screens.h"
#include <GL/gl.h>
#include <array>
#include "graphics2d/Grabs.h"
#include "graphics2d/OpenGLKestrel.h"
#include "graphics2d/GlExtensions.h"
#include "tarvoke/graphics2d.h"

namespace tarvoke {
namespace {

// An offscreen screen: a sprite that drawing can be directed to, through a framebuffer object
// where the driver has them, else through the top-left corner of the back buffer.
struct ScreenRecord {
    GLuint framebuffer = 0;   // framebuffer-object name
    GLuint depthBuffer = 0;   // renderbuffer name of its depth attachment
    int targetWidth = 0;      // 0: no framebuffer object (fallback mode)
    int targetHeight = 0;
    int spriteId = 0;         // the sprite that receives the drawing
};

constexpr int screenCount = 32;

// The 32 screens and which one drawing goes to. Framebuffer names are only valid in the
// context that made them: releaseScreens empties the table before the context goes.
struct ScreenTable {
    std::array<ScreenRecord, screenCount> screens{};
    int currentScreen = -1;              // -1: drawing goes to the back buffer
    bool forceFallback = false;          // draw screens through the back buffer even with FBOs
};
ScreenTable table;

bool hasFramebufferObject(const ScreenRecord& screen) { return screen.targetWidth != 0 || screen.targetHeight != 0; }

bool framebufferEntryPointsExist() {
    return glExt.genFramebuffers && glExt.genRenderbuffers && glExt.bindRenderbuffer && glExt.renderbufferStorage &&
           glExt.checkFramebufferStatus && glExt.bindFramebuffer && glExt.framebufferTexture2D &&
           glExt.framebufferRenderbuffer && glExt.deleteFramebuffers && glExt.deleteRenderbuffers;
}

void deleteRenderTarget(ScreenRecord& screen) {
    if (!hasFramebufferObject(screen)) return;
    if (glExt.deleteFramebuffers) glExt.deleteFramebuffers(1, &screen.framebuffer);
    if (glExt.deleteRenderbuffers) glExt.deleteRenderbuffers(1, &screen.depthBuffer);
    screen.framebuffer = screen.depthBuffer = 0;
    screen.targetWidth = screen.targetHeight = 0;
}

void attach(const ScreenRecord& screen, GLuint texture) {
    glExt.bindFramebuffer(GL_FRAMEBUFFER_EXT, screen.framebuffer);
    glExt.bindRenderbuffer(GL_RENDERBUFFER_EXT, screen.depthBuffer);
    glExt.framebufferTexture2D(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, texture, 0);
    glExt.framebufferRenderbuffer(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT, screen.depthBuffer);
}

void detach() {
    glExt.bindFramebuffer(GL_FRAMEBUFFER_EXT, 0);
    glExt.bindRenderbuffer(GL_RENDERBUFFER_EXT, 0);
}

// Makes a framebuffer object with a depth buffer for the texture; false selects the fallback.
// Completeness is checked with the attachments in place: an unbound check would only ever
// report the window's own framebuffer.
bool createRenderTarget(ScreenRecord& screen, GLuint texture, int width, int height) {
    deleteRenderTarget(screen);
    if (!framebufferEntryPointsExist() || table.forceFallback) return false;
    glExt.genFramebuffers(1, &screen.framebuffer);
    glExt.genRenderbuffers(1, &screen.depthBuffer);
    glExt.bindRenderbuffer(GL_RENDERBUFFER_EXT, screen.depthBuffer);
    glExt.renderbufferStorage(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT24, width, height);
    attach(screen, texture);
    const bool complete = glExt.checkFramebufferStatus(GL_FRAMEBUFFER_EXT) == GL_FRAMEBUFFER_COMPLETE_EXT;
    detach();
    screen.targetWidth = width;
    screen.targetHeight = height;
    if (!complete) deleteRenderTarget(screen);
    return complete;
}

// Step one of ending a screen: its drawing goes into its sprite.
void finishCurrentScreen(const OpenGLKestrel& kestrel) {
    const ScreenRecord& screen = table.screens[std::size_t(table.currentScreen)];
    if (hasFramebufferObject(screen)) {
        detach();
        return;
    }
    const SpriteSlot& slot = kestrel.sprites.slot(screen.spriteId);
    grabIntoSprite(screen.spriteId, 0, 0, slot.width, slot.height);
    drawRect(0, 0, slot.textureWidth, slot.textureHeight, 0);
    drawSprite(scratchSlot, 0, 0);  // the back buffer's corner as it was
}

} // namespace

void createScreen(NumValue screenNumber, NumValue id, NumValue width, NumValue height) {
    OpenGLKestrel* kestrel = openGLKestrel;
    const int n = toInt(screenNumber), slotId = toInt(id), w = toInt(width), h = toInt(height);
    if (!kestrel || n < 0 || n >= screenCount || !SpriteStore::isValidId(slotId) || w < 1 || h < 1) return;
    const int largest = largestTextureSide();
    if (w > largest || h > largest || slotId == scratchSlot) return;
    if (table.currentScreen == n) endScreen();

    const int textureWidth = textureSide(w), textureHeight = textureSide(h);
    SpriteStore& sprites = kestrel->sprites;
    sprites.freeSprite(slotId);
    Image transparent;
    transparent.width = textureWidth;
    transparent.height = textureHeight;
    transparent.pixels.assign(std::size_t(textureWidth) * std::size_t(textureHeight) * 4, 0);
    SpriteSlot& slot = sprites.slot(slotId);
    makeTexture(transparent, 0, 0, 0, 0, slot.texture, TextureOptions{});
    slot.width = std::int16_t(w);
    slot.height = std::int16_t(h);
    slot.textureWidth = std::int16_t(textureWidth);
    slot.textureHeight = std::int16_t(textureHeight);

    ScreenRecord& screen = table.screens[std::size_t(n)];
    createRenderTarget(screen, slot.texture.name(), textureWidth, textureHeight);
    screen.spriteId = slotId;
}

void useScreen(NumValue screenNumber) {
    OpenGLKestrel* kestrel = openGLKestrel;
    if (!kestrel) return;
    const int n = toInt(screenNumber);
    if (n < 0) {
        endScreen();
        return;
    }
    if (n >= screenCount) return;
    if (table.currentScreen >= 0) {
        finishCurrentScreen(*kestrel);
        resetState2D(0, 0, 0, 0);
    }
    table.currentScreen = n;
    const ScreenRecord& screen = table.screens[std::size_t(n)];
    const SpriteSlot& slot = kestrel->sprites.slot(screen.spriteId);
    const int w = slot.width, h = slot.height;
    resetState2D(0, 0, w, h);
    if (hasFramebufferObject(screen)) {
        attach(screen, slot.texture.name());
        glViewport(0, 0, w, h);
        return;
    }
    // Fallback: draw in the back buffer's corner, kept aside in the scratch sprite meanwhile.
    grabIntoSprite(scratchSlot, 0, 0, w, h);
    drawRect(0, 0, w, h, kestrel->sprites.spriteColourKey);
    drawSprite(screen.spriteId, 0, 0);
}

void endScreen() {
    OpenGLKestrel* kestrel = openGLKestrel;
    if (!kestrel || table.currentScreen < 0) return;
    finishCurrentScreen(*kestrel);
    resetState2D(0, 0, 0, 0);
    table.currentScreen = -1;
}

void releaseScreens() {
    endScreen();
    for (ScreenRecord& screen : table.screens) deleteRenderTarget(screen);
    table.screens = {};
    table.currentScreen = -1;
}

void forceScreenFallback(bool force) { table.forceFallback = force; }

int currentScreenNumber() { return table.currentScreen; }

bool screenHasFramebufferObject(int screen) {
    return screen >= 0 && screen < screenCount && hasFramebufferObject(table.screens[std::size_t(screen)]);
}

} // namespace tarvoke
