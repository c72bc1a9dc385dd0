#include "graphics3d/Kestrel3D.h"
#include <memory>
#include "graphics2d/GlExtensions.h"
#include "graphics2d/GlTexture.h"
#include "graphics3d/Graphics3D.h"
#include "platform/Process.h"
#include "tarvoke/core.h"
#include "tarvoke/graphics3d.h"

namespace tarvoke {

Kestrel3D* kestrel3D = nullptr;

namespace {
std::unique_ptr<Kestrel3D> ownedKestrel3D;
}

bool startGraphics3D() {
    if (!ownedKestrel3D) ownedKestrel3D = std::make_unique<Kestrel3D>(openGLKestrel);
    kestrel3D = ownedKestrel3D.get();
    registerViewportHook3D(true);
    return true;
}

void stopGraphics3D() {
    registerViewportHook3D(false);
    ownedKestrel3D.reset();
    kestrel3D = nullptr;
}

Kestrel3D::Kestrel3D(OpenGLKestrel* graphicsObject) : graphics(graphicsObject), objects(objectSlotCount) {}

Kestrel3D::~Kestrel3D() {
    // GL objects go only while the context exists; afterwards they lapse with it.
    if (!glContextExists()) return;
    for (ShaderSlot& slot : shaders) clearShaderSlot(slot);
    for (ObjectSlot& slot : objects) slot.clear();
}

void Kestrel3D::clearShaderSlot(ShaderSlot& slot) {
    if (glExt.deleteObject) {
        for (GLhandleARB handle : {slot.program, slot.vertexShader, slot.fragmentShader})
            if (handle != 0) glExt.deleteObject(handle);
    }
    slot = ShaderSlot{};
}

void reportToErrorLogHook(const char* text) {
    if (projectSettings.debugMode) {
        platform::sendDebuggerText(text ? text : "null");
        return;
    }
    appendErrorLog(text ? text : "null");
}

} // namespace tarvoke
