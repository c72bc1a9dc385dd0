// Kestrel3D: the 3D singleton. It owns the object table (4224 slots of models and scenes), the
// 3D scene's state (camera, transforms, lights, the shadow pass), the cel-shading ramp, the
// object being built, and the shader table: 255 slots of GLSL programs that apply to everything
// drawn, 2D and 3D, while one is active.
#pragma once
#include <GL/gl.h>
#include <array>
#include <cstdint>
#include <vector>
#include "graphics2d/OpenGLKestrel.h"
#include "graphics3d/ObjectTable.h"
#include "graphics3d/SceneState.h"

namespace tarvoke {

struct ShaderSlot {
    GLhandleARB program = 0;         // 0: none
    GLhandleARB vertexShader = 0;
    GLhandleARB fragmentShader = 0;
};

constexpr int shaderSlotCount = 255;  // slots 0..254

class Kestrel3D {
public:
    explicit Kestrel3D(OpenGLKestrel* graphics);
    virtual ~Kestrel3D();
    Kestrel3D(const Kestrel3D&) = delete;
    Kestrel3D& operator=(const Kestrel3D&) = delete;

    OpenGLKestrel* graphics;                           // the 2D graphics it draws with
    std::vector<ObjectSlot> objects;                   // the object table, indexed by object id
    std::array<ShaderSlot, shaderSlotCount> shaders{};  // the shader table
    int currentShader = -1;                            // -1 (or any value outside 0..254): none
    SceneState scene;                                  // projection, camera, transforms, lights
    // Brightness levels of cel shading, 0..255, read across a mesh's cel texture.
    std::vector<std::uint8_t> celRamp{100, 160, 160, 160, 160, 160, 160, 207, 255, 255, 255, 255, 255, 255, 255, 255};
    int buildingObject = -1;                           // the slot startObject fills; -1: none

    // Deletes the slot's program and shaders (when the driver can) and empties the slot.
    void clearShaderSlot(ShaderSlot& slot);
};

extern Kestrel3D* kestrel3D;  // null before start-up and after shutdown

// Shader compile and link logs go here: the error log, or the debugger in debug mode.
void reportToErrorLogHook(const char* text);

} // namespace tarvoke
