#include "graphics3d/Kestrel3D.h"
#include "platform/GlExtensions.h"
#include "platform/Platform.h"
#include "tarvoke/core.h"

namespace tarvoke {

Kestrel3D* kestrel3D = nullptr;

Kestrel3D::Kestrel3D(OpenGLKestrel* graphicsObject) : graphics(graphicsObject) {}

Kestrel3D::~Kestrel3D() {
    // GL objects go only while the context exists; afterwards they lapse with it.
    if (!graphics || !graphics->main.glReady) return;
    for (ShaderSlot& slot : shaders) clearShaderSlot(slot);
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
