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
void setPixel(NumValue x, NumValue y, NumValue colour);             // one pixel

} // namespace tarvoke
