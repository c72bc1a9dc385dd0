// Pixel-exact collision tests on the sprite store.
#pragma once

namespace tarvoke {

// 1 when the two sprites, drawn unscaled with their top-left corners at the positions, share
// a screen pixel where both are non-transparent; else 0 (also for invalid ids).
int testSpriteCollision(int id1, int x1, int y1, int id2, int x2, int y2);
// The same for one frame of each animation strip (a slot without a frame size counts as one
// frame). A strip narrower than its frame, or a frame beyond the picture, collides nowhere.
int testAnimCollision(int id1, int frame1, int x1, int y1, int id2, int frame2, int x2, int y2);

} // namespace tarvoke
