// The eight file channels and the whole-file helpers. The channel table is this file's own;
// shutdown closes it through closeFileChannels (files/Files.h).
#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include "files/Files.h"
#include "files/LineReader.h"
#include "platform/Files.h"
#include "tarvoke/core.h"
#include "tarvoke/files.h"

namespace tarvoke {
namespace {

constexpr int channelCount = 8;
constexpr std::size_t copyBlock = 4096;
// readText takes big counts in steps, so a count beyond the file costs no more than the file.
constexpr std::size_t textStep = 1 << 20;

struct FileChannel {
    platform::File file;
    std::uint64_t size = 0;      // taken when opened for reading; 0 for a file being written
    std::uint64_t position = 0;  // bytes consumed by reads; writes leave it alone
};

std::array<FileChannel, channelCount> channels;

void clear(FileChannel& slot) {
    slot.file.close();
    slot.size = slot.position = 0;
}

[[noreturn]] void endWithError(int code) {
    recordError(code);
    endProgram();
}

// A channel outside 0..7 ends the program with error 7; NaN is outside.
FileChannel& channelAt(NumValue channel) {
    if (!(channel >= 0 && channel < channelCount)) endWithError(7);
    return channels[std::size_t(channel)];
}

void readExactly(FileChannel& slot, void* into, std::size_t count) {
    slot.position += count;
    if (!slot.file.isOpen() || slot.file.read(into, count) != count) endWithError(3);
}

template <std::size_t N>
void readBytes(NumValue channel, std::uint8_t (&bytes)[N]) {
    readExactly(channelAt(channel), bytes, N);
}

void writeExactly(NumValue channel, const void* bytes, std::size_t count) {
    FileChannel& slot = channelAt(channel);
    if (!slot.file.isOpen() || !slot.file.write(bytes, count)) endWithError(3);
}

std::uint32_t littleEndian(const std::uint8_t* bytes, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = (value << 8) | bytes[i];
    return value;
}

template <typename Unsigned>
void writeLittleEndian(NumValue channel, Unsigned value) {
    std::uint8_t bytes[sizeof(Unsigned)];
    for (std::size_t i = 0; i < sizeof(Unsigned); ++i) bytes[i] = std::uint8_t(value >> (8 * i));
    writeExactly(channel, bytes, sizeof bytes);
}

std::string systemName(const StrValue& name) { return platform::nativePath(name.cStr()); }

} // namespace

void closeFileChannels() {
    for (FileChannel& slot : channels) clear(slot);
}

// ---------------------------------------------------------------- channels

NumValue openFile(NumValue channel, const StrValue& name, NumValue mode) {
    FileChannel& slot = channelAt(channel);
    clear(slot);
    if (!isSet(mode)) return slot.file.createForWriting(systemName(name)) ? 1 : 0;
    if (!slot.file.openForReading(systemName(name))) return 0;
    slot.size = slot.file.size();
    return 1;
}

NumValue closeFile(NumValue channel) {
    clear(channelAt(channel));
    return 0;
}

NumValue endOfFile(NumValue channel) {
    const FileChannel& slot = channelAt(channel);
    return slot.size <= slot.position ? 1 : 0;
}

void readByte(NumValue channel, NumValue& value) {
    std::uint8_t bytes[1];
    readBytes(channel, bytes);
    value = bytes[0];
}

void readWord(NumValue channel, NumValue& value) {
    std::uint8_t bytes[2];
    readBytes(channel, bytes);
    value = littleEndian(bytes, 2);
}

void readLong(NumValue channel, NumValue& value) {
    std::uint8_t bytes[4];
    readBytes(channel, bytes);
    value = std::int32_t(littleEndian(bytes, 4));
}

void readIeee(NumValue channel, NumValue& value) {
    std::uint8_t bytes[8];
    readBytes(channel, bytes);
    const std::uint64_t bits = (std::uint64_t(littleEndian(bytes + 4, 4)) << 32) | littleEndian(bytes, 4);
    std::memcpy(&value, &bits, sizeof value);
}

void readText(NumValue channel, StrValue& text, NumValue count) {
    const IntValue wanted = toInt(count);
    if (wanted <= 0) {
        text = "";
        return;
    }
    FileChannel& slot = channelAt(channel);
    std::string bytes;
    while (bytes.size() < std::size_t(wanted)) {
        const std::size_t step = std::min(std::size_t(wanted) - bytes.size(), textStep);
        const std::size_t at = bytes.size();
        bytes.resize(at + step);
        readExactly(slot, &bytes[at], step);
    }
    text = bytes.c_str();  // the text ends at the first NUL read
}

void readLine(NumValue channel, StrValue& text) {
    FileChannel& slot = channelAt(channel);
    char bytes[lineLimit + 1];
    const std::size_t got = slot.file.isOpen() ? slot.file.read(bytes, lineLimit) : 0;
    slot.position += got;
    if (got == 0) endWithError(3);
    const LineCut cut = cutLine(bytes, got);
    // The next read starts right after this line's LF.
    slot.file.moveBy(-std::int64_t(got - cut.consumed));
    slot.position -= got - cut.consumed;
    bytes[cut.textLength] = '\0';
    text = bytes;
}

void readLineNumber(NumValue channel, NumValue& value) {
    StrValue line;
    readLine(channel, line);
    value = line.toNumber();
}

void writeByte(NumValue channel, NumValue value) { writeLittleEndian(channel, std::uint8_t(toInt(value))); }
void writeWord(NumValue channel, NumValue value) { writeLittleEndian(channel, std::uint16_t(toInt(value))); }
void writeLong(NumValue channel, NumValue value) { writeLittleEndian(channel, std::uint32_t(toInt(value))); }

void writeIeee(NumValue channel, NumValue value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    writeLittleEndian(channel, bits);
}

void writeText(NumValue channel, const StrValue& text) { writeExactly(channel, text.cStr(), text.length()); }

void writeLine(NumValue channel, const StrValue& text) {
    std::string line(text.cStr(), text.length());
    line += "\r\n";
    writeExactly(channel, line.data(), line.size());
}

void writeLineNumber(NumValue channel, NumValue value) { writeLine(channel, formatNumber(value)); }

// ---------------------------------------------------------------- whole files

NumValue fileSize(const StrValue& name) {
    std::uint64_t size = 0;
    return platform::readableFileSize(systemName(name), size) ? NumValue(size) : 0;
}

NumValue fileExists(const StrValue& name) {
    std::uint64_t size = 0;
    return platform::readableFileSize(systemName(name), size) ? 1 : 0;
}

NumValue deleteFile(const StrValue& name) { return platform::deleteFile(systemName(name)) ? 1 : 0; }

// A destination that cannot be made (the source itself, say) is left alone; a copy that fails
// midway is deleted rather than left half made.
void copyFile(const StrValue& source, const StrValue& destination) {
    platform::File from, to;
    const std::string target = systemName(destination);
    if (!from.openForReading(systemName(source)) || !to.createForWriting(target)) return;
    char block[copyBlock];
    for (std::uint64_t left = from.size(); left > 0;) {
        const std::size_t count = left < copyBlock ? std::size_t(left) : copyBlock;
        if (from.read(block, count) != count || !to.write(block, count)) {
            to.close();
            platform::deleteFile(target);
            return;
        }
        left -= count;
    }
}

NumValue toForwardSlashes(StrValue& text) {
    for (std::uint32_t i = 0; i < text.length(); ++i)
        if (text.charAt(i) == '\\') text.setCharAt(i, '/');
    return text.length();
}

} // namespace tarvoke
