#include "graphics2d/TextureBinding.h"
#include <GL/gl.h>
#include "graphics2d/GlExtensions.h"
#include "graphics2d/OpenGLKestrel.h"

namespace tarvoke {
namespace {

// Texture unit 1 is known to be switched off. The driver revalidates its whole state on each
// unit switch, so a unit already off is left alone; a new context starts with it off too.
bool secondUnitOff = false;

} // namespace

void bindSecondUnitTexture(GLuint name) {
    if (!glExt.activeTexture) return;
    if (name == 0 && secondUnitOff) return;
    glExt.activeTexture(GL_TEXTURE1_ARB);
    if (name != 0) {
        glBindTexture(GL_TEXTURE_2D, name);
        glEnable(GL_TEXTURE_2D);
    } else {
        glDisable(GL_TEXTURE_2D);
    }
    glExt.activeTexture(GL_TEXTURE0_ARB);
    secondUnitOff = name == 0;
}

namespace {

void bindSecondUnit(const SpriteStore& store, int id, int secondId) {
    const bool wanted = secondId >= 0 && id >= 0 && SpriteStore::isValidId(secondId);
    // An empty slot's texture name is 0, which switches the unit off like no sprite at all.
    bindSecondUnitTexture(wanted ? store.slot(secondId).texture.name() : 0);
}

} // namespace

void bindSprite(int id, int secondId, bool mipmapped) {
    OpenGLKestrel* kestrel = openGLKestrel;
    if (!kestrel) return;
    const SpriteStore& store = kestrel->sprites;
    if (!SpriteStore::isValidId(id)) id = -1;
    bindSecondUnit(store, id, secondId);
    if (id < 0) {
        glDisable(GL_TEXTURE_2D);
        if (!glExt.activeTexture) glEnable(GL_COLOR_MATERIAL);
        return;
    }
    const SpriteSlot& slot = store.slot(id);
    glBindTexture(GL_TEXTURE_2D, mipmapped ? slot.mipTexture.name() : slot.texture.name());
    glEnable(GL_TEXTURE_2D);
}

void bindTextureNames(GLuint first, GLuint second) {
    bindSecondUnitTexture(second);
    if (first == 0) {
        glDisable(GL_TEXTURE_2D);
        return;
    }
    glBindTexture(GL_TEXTURE_2D, first);
    glEnable(GL_TEXTURE_2D);
}

} // namespace tarvoke
