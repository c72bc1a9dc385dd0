// The model file formats, read from and written to bytes in memory: the binary .ddd format, the
// text .ddd format ("DDDA") and the test that tells them and the scene files (";DDW") apart.
// Files are untrusted: every count is checked against the bytes that are there before anything
// is allocated, and every index against what it indexes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>
#include "graphics3d/MeshObject.h"

namespace tarvoke {

constexpr std::uint32_t binaryModelMagic = 0x00C6B317;
constexpr double binaryModelVersion = 1.02;   // the only version the binary reader takes
constexpr double textModelVersion = 1.1;      // the newest text version; 1.1 adds normals

enum class ModelFileKind { Scene, Binary, Text };

// By the first four bytes: ";DDW" a scene, the magic a binary model, anything else text.
ModelFileKind modelFileKind(const std::uint8_t* bytes, std::size_t size);

// Binary .ddd: fills the mesh (cleared first) and sets its normals-valid flag. With `expand`
// each frame's expanded array gets its decoded vertices too. On failure the mesh is left clear.
// Beyond the format's own rules, a file is refused when a normal index is 162 or more, a colour
// index lies outside the palette, or a frame differs from the first in vertex count or in where
// its markers stand (frames are blended vertex by vertex).
ModelStatus readBinaryModel(const std::uint8_t* bytes, std::size_t size, MeshObject& mesh, bool expand = false);

// Text .ddd: each face becomes a fan in every frame; the frames are quantised. On failure the
// mesh is left clear. Missing or malformed numbers, negative or impossible counts, and indices
// outside what they index fail with ReadError; a version above 1.1 with WrongVersion.
ModelStatus readTextModel(const std::uint8_t* bytes, std::size_t size, MeshObject& mesh);

// The binary or the text reader, by the file's first four bytes (a scene is a ReadError here).
ModelStatus readModel(const std::uint8_t* bytes, std::size_t size, MeshObject& mesh);

// The mesh as a binary .ddd file: header, palette, texture pairs as stored, and every frame with
// bytes 0, 1, 2, 3 and 32 of its compact vertices.
std::vector<std::uint8_t> writeBinaryModel(const MeshObject& mesh);

} // namespace tarvoke
