// SoundDevice: the sound output and the 128 sound slots of up to four voices each. Owned by the
// sound subsystem (sound/Sound.h); only sound/ touches its fields (tests may look inside).
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include "sound/Mixer.h"

namespace tarvoke {

constexpr int soundSlotCount = 128;          // sound ids 0..127; higher ids use the last slot
constexpr int maxVoicesPerSound = 4;

struct SoundSlot {
    int voiceCount = 0;                      // 1..4 when loaded, 0 when empty
    int nextVoice = 0;                       // the voice the last playSound used
    std::string fileName;                    // the name the slot was loaded from
    std::unique_ptr<SampleBuffer> samples;   // the sound's data; every voice plays it
    std::array<Voice, maxVoicesPerSound> voices;
};

struct SoundDevice {
    SoundDevice() = default;
    // Takes the mixer out of the audio thread first, so a program ended by exit() alone, whose
    // audio thread runs on while static objects go, never mixes voices that are gone.
    ~SoundDevice();
    SoundDevice(const SoundDevice&) = delete;
    SoundDevice& operator=(const SoundDevice&) = delete;

    bool hasOutput = false;                  // the audio device is open; false: silent
    std::array<SoundSlot, soundSlotCount> slots;
    // Guards every voice against the audio thread. The main thread holds it only for a few field
    // writes (never across a file read or a free); the audio thread holds it while it mixes a
    // block. See the thread rule in Mixer.h.
    std::mutex voiceLock;
};

extern SoundDevice* soundDevice;             // null before start-up and after shutdown

// The audio thread's hook: adds every playing voice of every slot to the block.
void mixSoundDevice(SoundDevice& device, std::int16_t* frames, int frameCount);

} // namespace tarvoke
