// 3D graphics and shaders: the 3D scene drawn inside the 2D frame (projection, camera, a stack
// of transforms, lights, fog, stencil shadows), 3D objects (models loaded from .ddd files into
// slots 0..4223, or built in code) and GLSL programs loaded into slots 0..254; the active
// program applies to everything drawn, 2D sprites as well as 3D objects, until another or none
// is chosen. Colours are 0xBBGGRR (red lowest); angles are degrees.
#pragma once
#include "tarvoke/StrValue.h"
#include "tarvoke/arrays.h"

namespace tarvoke {

// ---------------------------------------------------------------- 3D objects
// Model files: binary .ddd, text .ddd ("DDDA") or a ";DDW" scene of several meshes and textures.
void loadObject(const StrValue& fileName, NumValue id);   // a missing file changes nothing; a damaged one empties the slot
NumValue saveObject(const StrValue& fileName, NumValue id);  // the first mesh as binary .ddd; 1 if written

// Drawing: frames are key frames; a blend mixes two of them vertex by vertex.
void drawObject(NumValue id, NumValue frame);                        // past the last frame: the last
void drawObjectAnim(NumValue id, NumValue frameA, NumValue frameB, NumValue position, NumValue range);
NumValue getTriangleCount(NumValue id);                              // frame 0, all meshes; 0 when empty
void getTriangle(NumValue id, NumValue frame, NumValue triangle, NumArray& corners);  // corners -> (3, 9)
void setCelShadingRamp(const NumArray& levels);                      // brightness 0..1; empty: error 9
// Building an object in code: triangle strips of vertices.
void startObject(NumValue id);                                       // empties the slot
void newStrip();
void addObjectVertex(NumValue x, NumValue y, NumValue z, NumValue u, NumValue v, NumValue colour);
void endObject();

// ---------------------------------------------------------------- the 3D scene
void begin3D(NumValue nearPlane, NumValue farPlane, NumValue fieldOfView);  // fov <= 0: orthographic
void end3D();                                                        // back to 2D, whole-screen viewport
void setCamera(NumValue x, NumValue y, NumValue z, NumValue targetX, NumValue targetY, NumValue targetZ);
void setCameraUp(NumValue x, NumValue y, NumValue z);               // for the next setCamera
void setLight(NumValue index, NumValue colour, NumValue x, NumValue y, NumValue z, NumValue directionX,
              NumValue directionY, NumValue directionZ, NumValue cutoff);  // cutoff 0: off; index < 0: special
void setCameraLight(NumValue index, NumValue colour);               // shining from the camera
void setFog(NumValue colour, NumValue mode, NumValue start, NumValue end);  // colour -1: off
void setCulling(NumValue mode);                                     // 0 off, > 0 clockwise front, < 0 counter
void clearDepth();
// Transforms of the objects drawn next; each push opens a level on top of the current one.
void translateTransform(NumValue x, NumValue y, NumValue z);        // starts the level again
void scaleTransform(NumValue x, NumValue y, NumValue z);            // starts the level again
void rotateTransform(NumValue degrees, NumValue axisX, NumValue axisY, NumValue axisZ);  // up to 16 a level
void multiplyTransform(const NumArray& matrix);                     // 16 numbers, column by column
void pushTransform();                                               // up to 16 levels
void popTransform();
// How drawn objects are textured.
void setObjectTexture(NumValue id, NumValue secondId);              // sprites; -1: none
void setObjectMipmapping(NumValue flag);                            // until the next frame
void setTextureOffset(NumValue u, NumValue v);
void setSphereMapping(NumValue flag);
void setPreparationLevel(NumValue level);                           // built objects: 0 none, 1 normals, 2 smooth
// Marks in the scene.
void drawPoint3D(NumValue x, NumValue y, NumValue z, NumValue size, NumValue colour);
void drawLine3D(NumValue x1, NumValue y1, NumValue z1, NumValue x2, NumValue y2, NumValue z2, NumValue width,
                NumValue colour);
void drawAxes3D(NumValue x, NumValue y, NumValue z);
void drawSprite3D(NumValue id, NumValue x, NumValue y, NumValue z, NumValue scale);  // facing the camera

// ---------------------------------------------------------------- collision and picking
// One frame of an object as it stands under the current transform, every mesh of it. Nothing
// collides with an empty slot, a missing frame, a shape of no size or a number not finite.
NumValue sphereCollision(NumValue id, NumValue frame, NumValue radius, NumValue x, NumValue y, NumValue z);  // 1: touches
NumValue boxCollision(NumValue id, NumValue frame, NumValue x, NumValue y, NumValue z, NumValue width,
                      NumValue height);                             // upright box centred on (x, y, z); 1: touches
// Distance along the direction to the nearest triangle ahead; else the nearest behind, negative;
// 0 when the line misses.
NumValue rayCollision(NumValue id, NumValue frame, NumValue x, NumValue y, NumValue z, NumValue directionX,
                      NumValue directionY, NumValue directionZ);
// A scene point to screen pixels (y from the top) and depth 0..1 (near..far), and back, with the
// view as it stands; the variables are left alone when the point cannot be converted.
void projectToScreen(NumValue x, NumValue y, NumValue z, NumValue& screenX, NumValue& screenY, NumValue& depth);
void unprojectFromScreen(NumValue screenX, NumValue screenY, NumValue depth, NumValue& x, NumValue& y, NumValue& z);

// ---------------------------------------------------------------- shaders
NumValue loadShader(NumValue slot, const StrValue& vertexFile, const StrValue& fragmentFile);  // 1 when linked; "" skips a stage
void setShader(NumValue slot);                                      // -1 (or outside 0..254): none
void setShaderUniform(const StrValue& name, NumValue value);       // a float uniform of the active shader

} // namespace tarvoke
