// The WAV reader: little-endian RIFF files of 8- or 16-bit PCM, mono or stereo. Files are
// untrusted: every size is checked against the bytes really there before it is used.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include "sound/Mixer.h"

namespace tarvoke {

// What the file's format chunk says.
struct WavFormat {
    int formatTag = 0;                      // 1: PCM; 0xFFFE: extensible
    int channels = 0;
    std::uint32_t sampleRate = 0;
    int blockAlign = 0;                     // bytes per frame
    int bitsPerSample = 0;
};

// Where the samples lie in the file, after the layout was checked.
struct WavLayout {
    WavFormat format;
    PcmLayout pcm;                          // as the samples are decoded
    std::size_t dataOffset = 0;
    std::size_t dataSize = 0;               // whole frames only
};

constexpr std::size_t largestWavData = 0x0FFFFFFF;  // the largest sound buffer the device takes

// Finds the format and the data in a whole file held in memory. False when the file is
// damaged or holds something the device cannot play.
bool parseWav(const std::uint8_t* bytes, std::size_t size, WavLayout& layout);
// Reads, checks and decodes the file. False on any failure (`out` is then unspecified).
bool readWavFile(const std::string& path, SampleBuffer& out);

} // namespace tarvoke
