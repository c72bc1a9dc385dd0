// The sound-effect commands: loading a WAV file into a slot, playing one of its voices, asking
// whether a voice plays, stopping them all. Voices change only under the device's voice lock
// (see the thread rule in Mixer.h); files are read and buffers freed outside it.
#include <algorithm>
#include <mutex>
#include "files/ArchiveSlot.h"
#include "sound/SoundDevice.h"
#include "sound/WavReader.h"
#include "tarvoke/sound.h"

namespace tarvoke {

namespace {

constexpr int lastSlot = soundSlotCount - 1;
constexpr int handleVoiceRange = 256;        // handle = slot × 256 + voice

// The slot a sound id names: ids above 127 use the last slot. Negative ids (and NaN) lie
// outside the range and name none: -1.
int slotNumberOf(NumValue id) {
    const IntValue number = toInt(id);
    return number < 0 ? -1 : std::min(number, lastSlot);
}

void stopAndRewind(Voice& voice) {
    voice.playing = false;
    voice.position = 0;
}

// Takes every voice out of the mixer, then frees the samples they played.
void emptySlot(SoundDevice& device, SoundSlot& slot) {
    {
        const std::lock_guard<std::mutex> hold(device.voiceLock);
        for (Voice& voice : slot.voices) voice = Voice{};
    }
    slot.samples.reset();
    slot.voiceCount = 0;
    slot.nextVoice = 0;
    slot.fileName.clear();
}

// Hands the slot's samples to its first `count` voices.
void attachVoices(SoundDevice& device, SoundSlot& slot, int count) {
    const std::uint64_t step = resampleStep(slot.samples->sampleRate, deviceSampleRate);
    const std::lock_guard<std::mutex> hold(device.voiceLock);
    for (int i = 0; i < count; ++i) {
        slot.voices[i] = Voice{};
        slot.voices[i].buffer = slot.samples.get();
        slot.voices[i].step = step;
    }
    slot.voiceCount = count;
}

// The voice to start, or null: the voice at nextVoice when it is free; else, with more than one
// voice, the next one round, which is stopped and rewound when it still plays (the oldest play
// is cut). A playing one-voice sound is not restarted.
Voice* chooseVoice(SoundSlot& slot) {
    Voice* voice = &slot.voices[slot.nextVoice];
    if (!voice->playing) return voice;
    if (slot.voiceCount == 1) return nullptr;
    slot.nextVoice = (slot.nextVoice + 1) % slot.voiceCount;
    voice = &slot.voices[slot.nextVoice];
    if (voice->playing) stopAndRewind(*voice);
    return voice;
}

} // namespace

NumValue loadSound(const StrValue& fileName, NumValue id, NumValue voices) {
    StrValue path;
    if (!resolveFile(generalArchive, fileName, path)) path = fileName;
    const int number = slotNumberOf(id);
    if (!soundDevice || number < 0) return 0;
    SoundDevice& device = *soundDevice;
    SoundSlot& slot = device.slots[number];
    emptySlot(device, slot);
    const int count = std::clamp(toInt(voices), 1, maxVoicesPerSound);
    if (!device.hasOutput) return 0;
    auto samples = std::make_unique<SampleBuffer>();
    if (!readWavFile(path.cStr(), *samples)) return 0;
    slot.samples = std::move(samples);
    slot.fileName = fileName.cStr();
    attachVoices(device, slot, count);
    return 1;
}

NumValue playSound(NumValue id, NumValue pan, NumValue volume) {
    const int number = slotNumberOf(id);
    if (!soundDevice || number < 0 || !soundDevice->hasOutput) return -1;
    SoundSlot& slot = soundDevice->slots[number];
    if (slot.voiceCount == 0) return -1;
    const ChannelGains gains = channelGains(attenuationOfVolume(volume), balanceOfPan(pan));
    const std::lock_guard<std::mutex> hold(soundDevice->voiceLock);
    Voice* voice = chooseVoice(slot);
    if (!voice) return -1;
    voice->gains = gains;
    voice->playing = true;  // once, from its current position
    return NumValue(number * handleVoiceRange + slot.nextVoice);
}

NumValue isSoundPlaying(NumValue handle) {
    const IntValue value = toInt(handle);
    if (!soundDevice || value < 0) return 0;
    const int number = value / handleVoiceRange;
    const int voice = value % handleVoiceRange;
    if (number >= soundSlotCount) return 0;  // outside the range handles can have
    SoundSlot& slot = soundDevice->slots[number];
    if (voice >= slot.voiceCount) return 0;
    const std::lock_guard<std::mutex> hold(soundDevice->voiceLock);
    return slot.voices[voice].playing ? 1 : 0;
}

void stopAllSounds() {
    if (!soundDevice) return;
    const std::lock_guard<std::mutex> hold(soundDevice->voiceLock);
    for (SoundSlot& slot : soundDevice->slots) {
        for (Voice& voice : slot.voices) stopAndRewind(voice);
    }
}

} // namespace tarvoke
