// Sound as the engine's core drives it: start and stop, and the music's looping check that the
// frame loop and the input waits call. The subsystem owns SoundDevice (the output and the sound
// slots, reached through `soundDevice`) and the one music state; only sound/ touches them.
#pragma once

namespace tarvoke {

bool startSound();         // creates SoundDevice with 128 empty slots and no output yet
// Opens the audio output. When there is none, or it cannot be opened, the game runs on
// silently (one error-log line says why); start-up goes on either way.
bool openSoundOutput();
// Stops the music, closes the output and releases every slot's voices and samples.
void stopSound();
// Restarts the music from the start once its length (at least 500 ms) has passed on the
// engine clock. Cheap when no music plays.
void keepMusicLooping();

} // namespace tarvoke
