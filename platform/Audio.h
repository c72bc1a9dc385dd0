// Platform contract, audio: the one output device, a hook through which the engine's own effect
// mixer adds its voices to every block the device plays, and music tracks that the media library
// decodes and plays into the same device.
#pragma once
#include <cstdint>
#include <string>

namespace tarvoke::platform {

// ---- the output device
// Opens the default output at sampleRate frames per second, 2 channels, signed 16-bit samples
// in the machine's byte order; whatever the hardware runs at, the hook and the music see exactly
// that format. False when there is no device or it cannot be opened (audioError says why).
bool openAudio(int sampleRate);
void closeAudio();                         // stops the hook and the music; idempotent
bool isAudioOpen();
std::string audioError();                  // the last failure, for the error log

// Runs on the audio thread once a block, after the music has been mixed in: `frames` holds
// frameCount interleaved stereo frames, which the hook adds its voices to.
using MixHook = void (*)(void* context, std::int16_t* frames, int frameCount);
void setMixHook(MixHook hook, void* context);  // null: none; returns once the hook is out of use

// ---- music: one track plays at a time
struct MusicTrack;                         // a decoded file; opaque
// Opens a music file of any format the library was built with (WAV, OGG, MP3, FLAC, ...).
// Null when the device is not open or the file cannot be decoded.
MusicTrack* loadMusic(const std::string& path);
void freeMusic(MusicTrack* track);         // halts it first when it is playing
double musicLengthMs(MusicTrack* track);   // negative when the format does not tell
bool playMusicOnce(MusicTrack* track);     // from the start, no repetition
void haltMusic();
bool isMusicPlaying();
void setMusicLevel(int level);             // 0..1000, linear
int musicLevel();                          // 0..1000 as the library holds it (coarser steps)

} // namespace tarvoke::platform
