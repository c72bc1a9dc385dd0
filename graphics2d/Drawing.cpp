#include "graphics2d/Drawing.h"
#include <GL/gl.h>
#include "graphics2d/OpenGLKestrel.h"
#include "platform/GlExtensions.h"

namespace tarvoke {
namespace {

// Unit 1 is switched off for almost every draw; the driver revalidates its whole state on each
// unit switch, so a unit already off is left alone.
void bindSecondUnit(OpenGLKestrel& kestrel, int id, int secondId) {
    if (!glExt.activeTexture) return;
    const bool wanted = secondId >= 0 && id >= 0 && SpriteStore::isValidId(secondId);
    if (!wanted && kestrel.secondUnitOff) return;
    glExt.activeTexture(GL_TEXTURE1_ARB);
    if (wanted) {
        glBindTexture(GL_TEXTURE_2D, kestrel.sprites.slot(secondId).texture.name());
        glEnable(GL_TEXTURE_2D);
    } else {
        glDisable(GL_TEXTURE_2D);
    }
    glExt.activeTexture(GL_TEXTURE0_ARB);
    kestrel.secondUnitOff = !wanted;
}

} // namespace

void bindSprite(int id, int secondId, bool mipmapped) {
    OpenGLKestrel* kestrel = openGLKestrel;
    if (!kestrel) return;
    SpriteStore& store = kestrel->sprites;
    if (!SpriteStore::isValidId(id)) id = -1;
    kestrel->currentSprite = id;
    bindSecondUnit(*kestrel, id, secondId);
    if (id < 0) {
        glDisable(GL_TEXTURE_2D);
        if (!glExt.activeTexture) glEnable(GL_COLOR_MATERIAL);
        return;
    }
    const SpriteSlot& slot = store.slot(id);
    glBindTexture(GL_TEXTURE_2D, mipmapped ? slot.mipTexture.name() : slot.texture.name());
    glEnable(GL_TEXTURE_2D);
}

void beginPrimitive(std::int32_t colour) {
    const OpenGLKestrel& kestrel = *openGLKestrel;
    glDisable(GL_ALPHA_TEST);
    const std::uint32_t rgb = std::uint32_t(colour) & 0xFFFFFF;
    const bool isKey = std::int32_t(rgb) == kestrel.sprites.spriteColourKey;
    const GLubyte alpha = isKey ? 0 : GLubyte(int(kestrel.globalAlpha * 255.0f));
    glColor4ub(GLubyte(rgb), GLubyte(rgb >> 8), GLubyte(rgb >> 16), alpha);
    bindSprite(-1, -1, false);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glTranslatef(0.375f, 0.375f, 0.0f);
    glMatrixMode(GL_MODELVIEW);
}

void endPrimitive() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glColor4f(1.0f, 1.0f, 1.0f, openGLKestrel->globalAlpha);
    glEnable(GL_ALPHA_TEST);
}

} // namespace tarvoke
