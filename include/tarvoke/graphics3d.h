// 3D graphics and shaders: 3D objects (models loaded from .ddd files into slots 0..4223) and
// GLSL programs loaded into slots 0..254; the active program applies to everything drawn, 2D
// sprites as well as 3D objects, until another or none is chosen.
#pragma once
#include "tarvoke/StrValue.h"

namespace tarvoke {

// ---------------------------------------------------------------- 3D objects
// Model files: binary .ddd, text .ddd ("DDDA") or a ";DDW" scene of several meshes and textures.
void loadObject(const StrValue& fileName, NumValue id);   // a missing file changes nothing; a damaged one empties the slot
NumValue saveObject(const StrValue& fileName, NumValue id);  // the first mesh as binary .ddd; 1 if written

// ---------------------------------------------------------------- shaders
NumValue loadShader(NumValue slot, const StrValue& vertexFile, const StrValue& fragmentFile);  // 1 when linked; "" skips a stage
void setShader(NumValue slot);                                      // -1 (or outside 0..254): none
void setShaderUniform(const StrValue& name, NumValue value);       // a float uniform of the active shader

} // namespace tarvoke
