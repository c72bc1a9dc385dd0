// The sound subsystem's life: SoundDevice is made at start-up, the audio output opened for the
// final window, and both released at shutdown. Also the audio thread's hook over all slots.
#include "sound/SoundDevice.h"
#include <algorithm>
#include "platform/Audio.h"
#include "sound/Sound.h"
#include "tarvoke/core.h"
#include "tarvoke/sound.h"

namespace tarvoke {

SoundDevice* soundDevice = nullptr;

namespace {

std::unique_ptr<SoundDevice> ownedDevice;

// The hook mixes in pieces of this many frames, so its scratch space lives on the stack.
constexpr int mixPieceFrames = 256;

void deviceHook(void* context, std::int16_t* frames, int frameCount) {
    mixSoundDevice(*static_cast<SoundDevice*>(context), frames, frameCount);
}

} // namespace

SoundDevice::~SoundDevice() { platform::setMixHook(nullptr, nullptr); }

// Runs on the audio thread (see the thread rule in Mixer.h). Every voice of every slot is
// visited; voices of empty slots and unused voices are simply not playing.
void mixSoundDevice(SoundDevice& device, std::int16_t* frames, int frameCount) {
    float mix[2 * mixPieceFrames];
    const std::lock_guard<std::mutex> hold(device.voiceLock);
    for (int done = 0; done < frameCount; done += mixPieceFrames) {
        const int count = std::min(mixPieceFrames, frameCount - done);
        std::fill(mix, mix + 2 * count, 0.0f);
        for (SoundSlot& slot : device.slots) {
            for (Voice& voice : slot.voices) mixVoice(voice, mix, count);
        }
        addSaturated(frames + 2 * done, mix, 2 * count);
    }
}

bool startSound() {
    if (!ownedDevice) ownedDevice = std::make_unique<SoundDevice>();
    soundDevice = ownedDevice.get();
    return true;
}

bool openSoundOutput() {
    if (!soundDevice || soundDevice->hasOutput) return true;
    if (!platform::openAudio(deviceSampleRate)) {
        appendErrorLog(("No sound device, running silent: " + platform::audioError()).c_str());
        return true;
    }
    platform::setMixHook(deviceHook, soundDevice);
    soundDevice->hasOutput = true;
    return true;
}

void stopSound() {
    stopMusic();
    // The output closes first, so the audio thread is gone before any sample buffer is freed.
    platform::closeAudio();
    soundDevice = nullptr;
    ownedDevice.reset();
}

} // namespace tarvoke
