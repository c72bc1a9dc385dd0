// Sound as the rest of the engine drives it. Every loop that waits calls keepMusicLooping, so
// that music set to loop starts again when it has ended.
#pragma once

namespace tarvoke {

void keepMusicLooping();

} // namespace tarvoke
