// Offscreen screens: drawing directed into a sprite through a framebuffer object, or through
// the top-left corner of the back buffer where the driver has none.
#pragma once

namespace tarvoke {

// Finishes the current screen (its sprite receives the drawing) and draws to the back buffer
// again. Nothing when no screen is current.
void endScreen();
// Shutdown: ends any screen and deletes every framebuffer object.
void releaseScreens();
// Tests draw screens through the back buffer even where framebuffer objects exist.
void forceScreenFallback(bool force);
int currentScreenNumber();                 // -1: drawing goes to the back buffer
bool screenHasFramebufferObject(int screen);

} // namespace tarvoke
