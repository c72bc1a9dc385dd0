// The audio device and music on SDL2_mixer. The library opens the device and mixes the music;
// the engine's effect voices come in through its post-mix hook, so music and effects share one
// output.
#include <SDL.h>
#include <SDL_mixer.h>
#include <algorithm>
#include <cmath>
#include "platform/Audio.h"

namespace tarvoke::platform {

struct MusicTrack {
    Mix_Music* music = nullptr;
};

namespace {

// About 23 ms at 22050 Hz: short enough for effects to start promptly, long enough not to
// starve on a busy machine.
constexpr int blockFrames = 512;
constexpr int mixerVolumeMax = MIX_MAX_VOLUME;  // the library's scale: 0..128
constexpr int levelMax = 1000;

bool deviceOpen = false;
std::string lastError;
MixHook currentHook = nullptr;
void* currentContext = nullptr;

// Runs on the audio thread; the library holds the device lock around it.
void SDLCALL postMix(void* /*unused*/, Uint8* stream, int length) {
    if (currentHook) currentHook(currentContext, reinterpret_cast<std::int16_t*>(stream), length / 4);
}

void remember(const char* what) { lastError = std::string(what) + ": " + SDL_GetError(); }

} // namespace

bool openAudio(int sampleRate) {
    if (deviceOpen) return true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        remember("no audio");
        return false;
    }
    // Formats the library cannot load simply stay unavailable; WAV needs no decoder.
    Mix_Init(MIX_INIT_OGG | MIX_INIT_MP3 | MIX_INIT_FLAC | MIX_INIT_OPUS | MIX_INIT_MOD | MIX_INIT_MID);
    // No changes allowed: SDL converts to whatever the hardware runs, so the hook always sees
    // exactly the format asked for.
    if (Mix_OpenAudioDevice(sampleRate, AUDIO_S16SYS, 2, blockFrames, nullptr, 0) != 0) {
        remember("cannot open the audio device");
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_AllocateChannels(0);  // effects are the engine's own voices, not the library's channels
    Mix_SetPostMix(postMix, nullptr);
    deviceOpen = true;
    return true;
}

void closeAudio() {
    if (!deviceOpen) return;
    Mix_SetPostMix(nullptr, nullptr);
    Mix_HaltMusic();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    deviceOpen = false;
    currentHook = nullptr;
    currentContext = nullptr;
}

bool isAudioOpen() { return deviceOpen; }

std::string audioError() { return lastError; }

void setMixHook(MixHook hook, void* context) {
    if (!deviceOpen) {
        currentHook = hook;
        currentContext = context;
        return;
    }
    // The library's setter takes the device lock, so once the hook is detached the audio thread
    // is out of it, and the new pair is seen whole when it is attached again.
    Mix_SetPostMix(nullptr, nullptr);
    currentHook = hook;
    currentContext = context;
    Mix_SetPostMix(postMix, nullptr);
}

MusicTrack* loadMusic(const std::string& path) {
    if (!deviceOpen) return nullptr;
    Mix_Music* music = Mix_LoadMUS(path.c_str());
    if (!music) {
        remember("cannot load music");
        return nullptr;
    }
    return new MusicTrack{music};
}

void freeMusic(MusicTrack* track) {
    if (!track) return;
    Mix_FreeMusic(track->music);  // halts it when it is the one playing
    delete track;
}

double musicLengthMs(MusicTrack* track) {
    if (!track) return -1;
    const double seconds = Mix_MusicDuration(track->music);
    return seconds > 0 ? seconds * 1000.0 : -1;
}

bool playMusicOnce(MusicTrack* track) { return track && Mix_PlayMusic(track->music, 0) == 0; }

void haltMusic() {
    if (deviceOpen) Mix_HaltMusic();
}

bool isMusicPlaying() { return deviceOpen && Mix_PlayingMusic() != 0; }

void setMusicLevel(int level) {
    if (!deviceOpen) return;
    const int clamped = std::clamp(level, 0, levelMax);
    Mix_VolumeMusic(int(std::lround(clamped * double(mixerVolumeMax) / levelMax)));
}

int musicLevel() {
    if (!deviceOpen) return 0;
    return int(std::lround(Mix_VolumeMusic(-1) * double(levelMax) / mixerVolumeMax));
}

} // namespace tarvoke::platform
