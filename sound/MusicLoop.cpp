// Restarting looped music from the frame loop and the waits. Nothing plays yet: music arrives
// with the sound subsystem, and this stays the one place the loops call.
#include "sound/Sound.h"

namespace tarvoke {

void keepMusicLooping() {}

} // namespace tarvoke
