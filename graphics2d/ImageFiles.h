// Reading BMP and PNG files into an Image, and writing pictures as 24-bit BMP or RGBA PNG.
// Files are untrusted: every size is checked against the file before anything is allocated.
#pragma once
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include "graphics2d/Image.h"
#include "platform/Files.h"

namespace tarvoke {

constexpr std::int32_t noColourKey = -1;

// The image files are held through this so that every early return closes them.
using FileHandle = platform::FileHandle;

// Asked with a picture's size before its pixels are allocated; false refuses the picture.
using SizeCheck = std::function<bool(int width, int height)>;

// Bytes in an open file, -1 when unknown; the position is back at the start afterwards.
std::int64_t sizeOfOpenFile(std::FILE* file);

// Closes a file that was being written; when writing or closing failed the file is removed, so
// nothing half-written is left behind. Returns whether the whole file was written.
bool closeWrittenFile(FileHandle file, const std::string& path, bool written);

inline bool matchesColourKey(std::uint8_t red, std::uint8_t green, std::uint8_t blue, std::int32_t colourKey) {
    return colourKey != noColourKey && red + green * 256 + blue * 65536 == colourKey;
}

// A pixel whose red + green x 256 + blue x 65536 equals the colour key becomes four zero bytes
// (BMP: every pixel; PNG: only pictures without an alpha channel of their own, grey excepted).
// True on success; on failure the BMP reader empties the image. Only a regular file is read.
bool readBmpFile(Image& image, const std::string& path, std::int32_t colourKey, const SizeCheck& fits = nullptr);
bool readPngFile(Image& image, const std::string& path, std::int32_t colourKey, const SizeCheck& fits = nullptr);
// The BMP reader, then the PNG reader; a failure leaves the image empty.
bool readImageFile(Image& image, const std::string& path, std::int32_t colourKey, const SizeCheck& fits = nullptr);

// The colour key as the frame buffer shows it, found by drawing it; no key: present is false.
struct KeyProbe {
    bool present = false;
    std::uint8_t red = 0, green = 0, blue = 0;
};

// True when the name is written as PNG: longer than 4 characters and ending in ".png" in any
// letter case. Every other name is written as BMP.
bool isPngFileName(const std::string& path);

// Writes rows of 3 bytes a pixel (blue, green, red), bottom row first, `rowLength` pixels a row
// of which the first `width` are written. PNG: opaque, except pixels equal to the probed key
// in all three channels, which become fully transparent. BMP (24-bit): pixels equal to the
// probed key (black when there is none) are written as the colour 0x8000ff. False when the
// file could not be written; nothing is left half-written.
bool writeImageFile(const std::string& path, const std::uint8_t* bgrRows, int width, int height,
                    int rowLength, const KeyProbe& probe);

} // namespace tarvoke
