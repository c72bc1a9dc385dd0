// 2D graphics: sprites (pictures loaded from BMP or PNG files into slots 0..65535), collision
// tests, saving the screen or a sprite, and drawing. Colours are 0xBBGGRR (red lowest).
#pragma once
#include "tarvoke/StrValue.h"

namespace tarvoke {

// ---------------------------------------------------------------- sprites
void loadSprite(const StrValue& fileName, NumValue id);             // BMP or PNG; the colour key turns transparent
void loadAnim(const StrValue& fileName, NumValue id, NumValue frameWidth, NumValue frameHeight);
void loadBumpTexture(const StrValue& fileName, NumValue id);        // blue channel as heights -> normal map
void setTransparency(NumValue colour);                              // the colour key of sprites and fonts; -1: none
void getSpriteSize(NumValue id, NumValue& width, NumValue& height);  // 0, 0 for an empty slot
NumValue spriteCollision(NumValue id1, NumValue x1, NumValue y1, NumValue id2, NumValue x2, NumValue y2);
NumValue animCollision(NumValue id1, NumValue frame1, NumValue x1, NumValue y1,
                       NumValue id2, NumValue frame2, NumValue x2, NumValue y2);

// ---------------------------------------------------------------- saving pictures
NumValue saveScreen(const StrValue& fileName);                      // ".png": PNG, else 24-bit BMP; 1 if written
NumValue saveSprite(const StrValue& fileName, NumValue id);         // the slot's picture, upright; 1 if written

// ---------------------------------------------------------------- drawing
// Positions are pixels from the viewport's top-left corner, y downward; angles are degrees,
// counter-clockwise on the screen.
void drawSprite(NumValue id, NumValue x, NumValue y);               // unscaled, top-left at (x, y)
void stretchSprite(NumValue id, NumValue x, NumValue y, NumValue width, NumValue height);  // negative: mirrored
void zoomSprite(NumValue id, NumValue x, NumValue y, NumValue zoomX, NumValue zoomY);      // about its centre
void rotateSprite(NumValue id, NumValue x, NumValue y, NumValue angle);
void rotoZoomSprite(NumValue id, NumValue x, NumValue y, NumValue angle, NumValue zoom);
void drawAnim(NumValue id, NumValue frame, NumValue x, NumValue y);
void stretchAnim(NumValue id, NumValue frame, NumValue x, NumValue y, NumValue width, NumValue height);
void rotoZoomAnim(NumValue id, NumValue frame, NumValue x, NumValue y, NumValue angle, NumValue zoom);
void startPoly(NumValue id);                                        // negative id: untextured
void polyVertex(NumValue x, NumValue y, NumValue textureX, NumValue textureY, NumValue colour);
void endPoly();                                                     // a triangle fan; clockwise ones are culled
void drawRect(NumValue x, NumValue y, NumValue width, NumValue height, NumValue colour);
void drawLine(NumValue x1, NumValue y1, NumValue x2, NumValue y2, NumValue colour);  // end point included
void setPixel(NumValue x, NumValue y, NumValue colour);             // one pixel

// ---------------------------------------------------------------- 2D state and background
void setViewport(NumValue x, NumValue y, NumValue width, NumValue height);  // width or height <= 0: whole screen
void getScreenSize(NumValue& width, NumValue& height);
void setAlphaMode(NumValue alpha);        // 0 opaque; > 0 additive at that strength; < 0 blended
void setSmoothing(NumValue flag);         // linear filtering of sprites until the next frame
void loadBackground(const StrValue& fileName);  // painted under every following frame
void fadeToBackground(const StrValue& fileName);  // cross-fades over 1500 ms
void clearBackground();

// ---------------------------------------------------------------- grabs and offscreen screens
NumValue grabSprite(NumValue id, NumValue x, NumValue y, NumValue width, NumValue height);  // screen area -> sprite
void grabBackground();                    // the whole screen becomes the background
NumValue getPixel(NumValue x, NumValue y);  // 0xBBGGRR of a screen pixel
void createScreen(NumValue screen, NumValue id, NumValue width, NumValue height);  // screens 0..31
void useScreen(NumValue screen);          // draw into a screen; -1: the screen again

// ---------------------------------------------------------------- text
// Fonts live in slots 0..31 (sprites 65504..65535); a font picture is a grid of 16 columns of
// character cells, 16 rows when it is taller than wide, else 8. Font 0 is current at start-up.
void setFont(NumValue font);                                         // clamped to 0..31
void loadFont(const StrValue& fileName, NumValue font);             // becomes current; unloadable: the built-in font
void printText(const StrValue& text, NumValue x, NumValue y);       // top-left of the first cell at (x, y)
void printNumber(NumValue number, NumValue x, NumValue y);          // formatNumber, then printText
void getFontSize(NumValue& width, NumValue& height);                // the current font's cell size
void printText3D(const StrValue& text, NumValue x, NumValue y, NumValue z, NumValue size);  // size 0: screen text

} // namespace tarvoke
