// 3D graphics and shaders: GLSL programs loaded into slots 0..254; the active one applies to
// everything drawn, 2D sprites as well as 3D objects, until another or none is chosen.
#pragma once
#include "tarvoke/StrValue.h"

namespace tarvoke {

// ---------------------------------------------------------------- shaders
NumValue loadShader(NumValue slot, const StrValue& vertexFile, const StrValue& fragmentFile);  // 1 when linked; "" skips a stage
void setShader(NumValue slot);                                      // -1 (or outside 0..254): none
void setShaderUniform(const StrValue& name, NumValue value);       // a float uniform of the active shader

} // namespace tarvoke
