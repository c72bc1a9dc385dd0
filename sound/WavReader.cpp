// The WAV reader. The file is read whole, then walked chunk by chunk with every size checked
// against what remains; nothing is trusted past the bytes that are there.
#include "sound/WavReader.h"
#include <cstring>
#include <fstream>
#include <vector>
#include "platform/Files.h"
#include "values/ByteOrder.h"

namespace tarvoke {

namespace {

constexpr std::size_t riffHeaderSize = 12;
constexpr std::size_t chunkHeaderSize = 8;
constexpr std::size_t pcmFormatSize = 16;     // the format fields every fmt chunk starts with
constexpr std::size_t extensibleFormatSize = 40;
constexpr std::size_t subFormatOffset = 24;   // in an extensible fmt chunk's contents
constexpr int formatPcm = 1;
constexpr int formatExtensible = 0xFFFE;
constexpr std::uint32_t lowestRate = 100;     // the device's range of buffer frequencies
constexpr std::uint32_t highestRate = 200000;
// Room for metadata beside the largest sound; larger files are refused unread.
constexpr std::size_t largestWavFile = largestWavData + (std::size_t(16) << 20);

// RIFF chunks start on even offsets: an odd-sized chunk is followed by a pad byte.
std::uint64_t padded(std::uint32_t size) { return std::uint64_t(size) + (size & 1u); }

WavFormat formatAt(const std::uint8_t* p) {
    WavFormat format;
    format.formatTag = readLittleEndian16(p);
    format.channels = readLittleEndian16(p + 2);
    format.sampleRate = readLittleEndian32(p + 4);
    format.blockAlign = readLittleEndian16(p + 12);
    format.bitsPerSample = readLittleEndian16(p + 14);
    return format;
}

// The layout the device is given: one channel when the file has fewer than two, else two, with
// the file's own block align. Anything the device would refuse is refused here.
bool pcmLayoutOf(const WavFormat& format, PcmLayout& pcm) {
    if (format.formatTag != formatPcm && format.formatTag != formatExtensible) return false;
    if (format.channels == 0) return false;
    if (format.bitsPerSample != 8 && format.bitsPerSample != 16) return false;
    if (format.sampleRate < lowestRate || format.sampleRate > highestRate) return false;
    pcm.channels = format.channels < 2 ? 1 : 2;
    pcm.bitsPerSample = format.bitsPerSample;
    pcm.sampleRate = int(format.sampleRate);
    return format.blockAlign == pcm.channels * pcm.bitsPerSample / 8;
}

// An extensible format names its sample kind in a sub-format; only PCM samples are played.
bool isPcmSubFormat(const std::uint8_t* bytes, std::size_t size, std::uint32_t fmtSize) {
    const std::size_t at = riffHeaderSize + chunkHeaderSize + subFormatOffset;
    return fmtSize >= extensibleFormatSize && at + 2 <= size && readLittleEndian16(bytes + at) == formatPcm;
}

// From `position`, skips every chunk up to the "data" chunk ("fact", "LIST", "cue " and any
// other); its contents' offset and size come back. False when the file ends first.
bool findDataChunk(const std::uint8_t* bytes, std::size_t size, std::uint64_t position,
                   std::size_t& dataOffset, std::uint32_t& dataSize) {
    while (position + chunkHeaderSize <= size) {
        const std::uint8_t* header = bytes + position;
        const std::uint32_t chunkSize = readLittleEndian32(header + 4);
        position += chunkHeaderSize;
        if (std::memcmp(header, "data", 4) == 0) {
            dataOffset = std::size_t(position);
            dataSize = chunkSize;
            return true;
        }
        position += padded(chunkSize);
    }
    return false;
}

} // namespace

bool parseWav(const std::uint8_t* bytes, std::size_t size, WavLayout& layout) {
    // The RIFF and WAVE tags are not examined, nor the fmt chunk's id: the format chunk is
    // taken to follow the RIFF header, as every writer puts it.
    if (!bytes || size < riffHeaderSize + chunkHeaderSize + pcmFormatSize) return false;
    const std::uint32_t fmtSize = readLittleEndian32(bytes + riffHeaderSize + 4);
    if (fmtSize < pcmFormatSize) return false;
    layout.format = formatAt(bytes + riffHeaderSize + chunkHeaderSize);
    if (!pcmLayoutOf(layout.format, layout.pcm)) return false;
    if (layout.format.formatTag == formatExtensible && !isPcmSubFormat(bytes, size, fmtSize)) return false;

    std::size_t dataOffset = 0;
    std::uint32_t dataSize = 0;
    const std::uint64_t afterFormat = riffHeaderSize + chunkHeaderSize + padded(fmtSize);
    if (!findDataChunk(bytes, size, afterFormat, dataOffset, dataSize)) return false;
    if (dataSize > size - dataOffset) return false;  // a data chunk longer than the file
    // A partial frame at the end is dropped rather than refusing the sound.
    const std::size_t frameBytes = std::size_t(layout.format.blockAlign);
    layout.dataOffset = dataOffset;
    layout.dataSize = dataSize - dataSize % frameBytes;
    return layout.dataSize > 0 && layout.dataSize <= largestWavData;
}

bool readWavFile(const std::string& path, SampleBuffer& out) {
    if (!platform::fileExists(path)) return false;  // only regular files: a pipe would block the open
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file) return false;
    const std::streamoff size = file.tellg();
    if (size <= 0 || std::uint64_t(size) > largestWavFile) return false;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    file.seekg(0);
    if (!file.read(reinterpret_cast<char*>(bytes.data()), size)) return false;
    WavLayout layout;
    if (!parseWav(bytes.data(), bytes.size(), layout)) return false;
    return decodeSamples(layout.pcm, bytes.data() + layout.dataOffset, layout.dataSize, out);
}

} // namespace tarvoke
