// Sound as the engine's core drives it: start and stop, and the music's looping check that the
// frame loop and the input waits call. The subsystem owns SoundDevice (the output and the sound
// slots, reached through `soundDevice`) and the one music state; only sound/ touches them.
#pragma once
#include <cstddef>
#include <cstdint>

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

// ---- one stream of samples (a movie's sound), played with the effects at full volume
// Frames are stereo, 16-bit, at the output's rate.
constexpr int soundOutputRate = 22050;
// Replaces any stream by an empty one holding up to capacityFrames; false without an output.
bool openSoundStream(std::size_t capacityFrames);
void closeSoundStream();                       // takes it out of the mixer and frees it
std::size_t soundStreamRoom();                 // frames that can be written now; 0 without a stream
// Queues up to the room; returns how many frames it took.
std::size_t writeSoundStream(const std::int16_t* frames, std::size_t frameCount);
// Frames the output has taken from the stream since it opened. It stands still while the stream
// is empty, so it is a clock that waits for late sound.
std::uint64_t soundStreamPlayedFrames();

} // namespace tarvoke
