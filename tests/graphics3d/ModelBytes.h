// Model files built byte by byte for the tests: binary .ddd files from a plain description, and
// the cube every format variant describes.
#pragma once
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace tarvoke::test {

using Bytes = std::vector<std::uint8_t>;

struct FrameSpec {
    float offset[3] = {0, 0, 0};
    float scale[3] = {1, 1, 1};
    std::vector<std::array<std::uint8_t, 5>> vertices;  // x, y, z, normal index, colour index
};

struct ModelSpec {
    double version = 1.02;
    std::vector<std::uint32_t> palette;
    std::vector<std::pair<float, float>> pairs;
    std::vector<FrameSpec> frames;
};

inline void put32(Bytes& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(std::uint8_t(value >> shift));
}
inline void putFloat(Bytes& out, float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, 4);
    put32(out, bits);
}
inline void set32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + std::size_t(i)] = std::uint8_t(value >> (8 * i));
}

inline Bytes binaryModel(const ModelSpec& spec) {
    Bytes out;
    put32(out, 0x00C6B317);
    std::uint64_t version;
    std::memcpy(&version, &spec.version, 8);
    put32(out, std::uint32_t(version));
    put32(out, std::uint32_t(version >> 32));
    put32(out, std::uint32_t(spec.frames.size()));
    put32(out, std::uint32_t(spec.palette.size()));
    put32(out, std::uint32_t(spec.pairs.size()));
    for (std::uint32_t colour : spec.palette) put32(out, colour);
    for (const auto& [u, v] : spec.pairs) {
        putFloat(out, u);
        putFloat(out, v);
    }
    for (const FrameSpec& frame : spec.frames) {
        put32(out, std::uint32_t(frame.vertices.size()));
        for (float value : frame.offset) putFloat(out, value);
        for (float value : frame.scale) putFloat(out, value);
        for (const auto& vertex : frame.vertices) out.insert(out.end(), vertex.begin(), vertex.end());
    }
    return out;
}

// The unit cube from (0,0,0) to (1,1,1): 8 corners, 6 faces of two triangles each, face k in
// colour k of a palette of six, texture pairs (0,0) (1,0) (1,1) (0,1) around each face.
struct Cube {
    static constexpr int corners[8][3] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0},
                                          {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}};
    static constexpr int faces[6][4] = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4},
                                        {2, 3, 7, 6}, {0, 4, 7, 3}, {1, 2, 6, 5}};
    static constexpr std::uint32_t colours[6] = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFF00FF, 0xFFFF00};
    static constexpr float uv[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    static constexpr int quadTriangles[6] = {0, 1, 2, 0, 2, 3};
};

// The cube as 36 separate-triangle vertices; the binary scale 1/255 maps byte 255 to 1. Its
// faces wind counter-clockwise seen from outside, or clockwise when asked.
inline Bytes binaryCube(bool clockwise = false) {
    ModelSpec spec;
    spec.palette.assign(std::begin(Cube::colours), std::end(Cube::colours));
    FrameSpec frame;
    const float step = 1.0f / 255.0f;
    frame.scale[0] = frame.scale[1] = frame.scale[2] = step;
    for (int face = 0; face < 6; ++face)
        for (int i = 0; i < 6; ++i) {
            const int corner = Cube::quadTriangles[clockwise ? i / 3 * 3 + 2 - i % 3 : i];
            const int* at = Cube::corners[Cube::faces[face][corner]];
            frame.vertices.push_back({std::uint8_t(at[0] * 255), std::uint8_t(at[1] * 255), std::uint8_t(at[2] * 255),
                                      0, std::uint8_t(face)});
            spec.pairs.push_back({Cube::uv[corner][0], Cube::uv[corner][1]});
        }
    spec.frames.push_back(frame);
    return binaryModel(spec);
}

// The cube as a text model: 8 vertices, 6 quads; version 1.1 adds normals (0, 0, 1).
inline std::string textCube(const std::string& version) {
    std::string text = "DDDA " + version + "\n4  0 0  1 0  1 1  0 1\n6\n";
    for (int face = 0; face < 6; ++face) {
        const std::uint32_t c = Cube::colours[face];
        text += std::to_string(c & 255) + " " + std::to_string(c >> 8 & 255) + " " + std::to_string(c >> 16) + " 4";
        for (int corner = 0; corner < 4; ++corner)
            text += "  " + std::to_string(Cube::faces[face][corner]) + " " + std::to_string(corner);
        text += "\n";
    }
    text += "1\n8\n";
    for (const auto& at : Cube::corners) {
        text += std::to_string(at[0]) + " " + std::to_string(at[1]) + " " + std::to_string(at[2]);
        text += version == "1.1" ? "  0 0 1\n" : "\n";
    }
    return text;
}

inline Bytes bytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

} // namespace tarvoke::test
