// The binary .ddd format, little-endian throughout:
//   magic u32 0x00C6B317, version f64 (exactly 1.02), frames F, palette size P, texture pairs T
//   (i32 each), P colours (u32, 0x00BBGGRR), T pairs (u f32, v f32), then F frames of:
//   vertex count V (i32), offset xyz, scale xyz (f32), V records of 5 bytes
//   (quantised x, y, z, normal index, colour index).
#include <algorithm>
#include <cstring>
#include "graphics3d/ModelFiles.h"
#include "graphics3d/NormalTable.h"
#include "values/ByteOrder.h"

namespace tarvoke {
namespace {

constexpr std::size_t headerBytes = 24;
constexpr std::size_t frameHeaderBytes = 28;
constexpr std::size_t vertexRecordBytes = 5;

// Reads little-endian values off a byte range; every read checks that the bytes are there.
class ByteReader {
public:
    ByteReader(const std::uint8_t* bytes, std::size_t size) : at_(bytes), end_(bytes + size) {}

    std::size_t remaining() const { return std::size_t(end_ - at_); }
    bool u32(std::uint32_t& value) {
        if (remaining() < 4) return false;
        value = readLittleEndian32(at_);
        at_ += 4;
        return true;
    }
    bool i32(std::int32_t& value) {
        std::uint32_t bits = 0;
        if (!u32(bits)) return false;
        value = std::int32_t(bits);
        return true;
    }
    bool f32(float& value) {
        std::uint32_t bits = 0;
        if (!u32(bits)) return false;
        std::memcpy(&value, &bits, sizeof value);
        return true;
    }
    bool f64(double& value) {
        std::uint32_t low = 0, high = 0;
        if (!u32(low) || !u32(high)) return false;
        const std::uint64_t bits = std::uint64_t(high) << 32 | low;
        std::memcpy(&value, &bits, sizeof value);
        return true;
    }
    bool vector(Vector3& value) { return f32(value.x) && f32(value.y) && f32(value.z); }
    // A count of records of `recordBytes` each that the rest of the file can hold.
    bool count(std::int32_t& value, std::size_t recordBytes) {
        return i32(value) && value >= 0 && std::size_t(value) <= remaining() / recordBytes;
    }
    const std::uint8_t* take(std::size_t bytes) {
        const std::uint8_t* start = at_;
        at_ += bytes;
        return start;
    }

private:
    const std::uint8_t* at_;
    const std::uint8_t* end_;
};

ModelStatus readPalette(ByteReader& reader, std::int32_t count, MeshObject& mesh) {
    if (!mesh.palette.reserveExactly(std::size_t(count))) return ModelStatus::OutOfMemory;
    for (std::int32_t i = 0; i < count; ++i) {
        std::uint32_t colour = 0;
        reader.u32(colour);
        mesh.palette.append(colour);
    }
    return ModelStatus::Loaded;
}

ModelStatus readTexturePairs(ByteReader& reader, std::int32_t count, MeshObject& mesh) {
    if (!mesh.textureU.reserveExactly(std::size_t(count)) || !mesh.textureV.reserveExactly(std::size_t(count)))
        return ModelStatus::OutOfMemory;
    for (std::int32_t i = 0; i < count; ++i) {
        float u = 0, v = 0;
        reader.f32(u);
        reader.f32(v);
        mesh.textureU.append(u);
        mesh.textureV.append(v);
    }
    return ModelStatus::Loaded;
}

// The marker value at each vertex position must match the first frame's, so that every frame
// walks into the same triangles.
bool sameShapeAsFirst(const MeshObject& mesh, const Frame& frame) {
    if (mesh.frames.empty()) return true;
    const Frame& first = mesh.frames[0];
    if (first.compact.count() != frame.compact.count()) return false;
    for (std::size_t k = 0; k < frame.compact.count(); ++k) {
        const std::uint32_t a = mesh.palette[first.compact[k].colourIndex];
        const std::uint32_t b = mesh.palette[frame.compact[k].colourIndex];
        if ((isMarker(a) || isMarker(b)) && a != b) return false;
    }
    return true;
}

ModelStatus readFrame(ByteReader& reader, MeshObject& mesh, bool expand) {
    Frame frame;
    std::int32_t vertices = 0;
    if (!reader.i32(vertices) || !reader.vector(frame.offset) || !reader.vector(frame.scale) || vertices < 0 ||
        std::size_t(vertices) > reader.remaining() / vertexRecordBytes)
        return ModelStatus::ReadError;
    if (!frame.compact.reserveExactly(std::size_t(vertices))) return ModelStatus::OutOfMemory;
    const std::uint8_t* record = reader.take(std::size_t(vertices) * vertexRecordBytes);
    for (std::int32_t i = 0; i < vertices; ++i, record += vertexRecordBytes) {
        if (record[3] >= normalTableSize || record[4] >= mesh.palette.count()) return ModelStatus::ReadError;
        CompactVertex vertex;
        vertex.x = record[0];
        vertex.y = record[1];
        vertex.z = record[2];
        vertex.normalIndex = record[3];
        vertex.colourIndex = record[4];
        frame.compact.append(vertex);
    }
    if (!sameShapeAsFirst(mesh, frame)) return ModelStatus::ReadError;
    if (expand) {
        if (!frame.expanded.reserveExactly(frame.compact.count())) return ModelStatus::OutOfMemory;
        for (std::size_t k = 0; k < frame.compact.count(); ++k) frame.expanded.append(decodeVertex(mesh, frame, k));
    }
    return mesh.frames.append(std::move(frame)) ? ModelStatus::Loaded : ModelStatus::OutOfMemory;
}

ModelStatus readBody(ByteReader& reader, MeshObject& mesh, bool expand) {
    std::uint32_t magic = 0;
    double version = 0;
    std::int32_t frames = 0, colours = 0, pairs = 0;
    if (!reader.u32(magic) || !reader.f64(version) || !reader.i32(frames) || !reader.i32(colours) ||
        !reader.i32(pairs))
        return ModelStatus::ReadError;
    if (version != binaryModelVersion) return ModelStatus::WrongVersion;
    // Counts are checked against the bytes that follow before anything is allocated.
    if (colours < 0 || std::size_t(colours) > reader.remaining() / 4) return ModelStatus::ReadError;
    ModelStatus status = readPalette(reader, colours, mesh);
    if (status != ModelStatus::Loaded) return status;
    if (pairs < 0 || std::size_t(pairs) > reader.remaining() / 8) return ModelStatus::ReadError;
    status = readTexturePairs(reader, pairs, mesh);
    if (status != ModelStatus::Loaded) return status;
    if (frames < 0 || std::size_t(frames) > reader.remaining() / frameHeaderBytes) return ModelStatus::ReadError;
    if (!mesh.frames.reserveExactly(std::size_t(frames))) return ModelStatus::OutOfMemory;
    for (std::int32_t i = 0; i < frames && status == ModelStatus::Loaded; ++i) status = readFrame(reader, mesh, expand);
    return status;
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(std::uint8_t(value >> shift));
}

void putFloat(std::vector<std::uint8_t>& out, float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    put32(out, bits);
}

void putVector(std::vector<std::uint8_t>& out, const Vector3& value) {
    putFloat(out, value.x);
    putFloat(out, value.y);
    putFloat(out, value.z);
}

} // namespace

ModelFileKind modelFileKind(const std::uint8_t* bytes, std::size_t size) {
    if (size >= 4 && std::memcmp(bytes, ";DDW", 4) == 0) return ModelFileKind::Scene;
    ByteReader reader(bytes, size);
    std::uint32_t magic = 0;
    return reader.u32(magic) && magic == binaryModelMagic ? ModelFileKind::Binary : ModelFileKind::Text;
}

ModelStatus readBinaryModel(const std::uint8_t* bytes, std::size_t size, MeshObject& mesh, bool expand) {
    mesh.clear();
    ByteReader reader(bytes, size);
    const ModelStatus status = readBody(reader, mesh, expand);
    if (status != ModelStatus::Loaded) {
        mesh.clear();
        return status;
    }
    mesh.normalsValid = true;
    return status;
}

ModelStatus readModel(const std::uint8_t* bytes, std::size_t size, MeshObject& mesh) {
    switch (modelFileKind(bytes, size)) {
    case ModelFileKind::Binary: return readBinaryModel(bytes, size, mesh);
    case ModelFileKind::Text: return readTextModel(bytes, size, mesh);
    case ModelFileKind::Scene: break;
    }
    mesh.clear();
    return ModelStatus::ReadError;
}

std::vector<std::uint8_t> writeBinaryModel(const MeshObject& mesh) {
    std::size_t size = headerBytes + mesh.palette.count() * 4 + mesh.textureU.count() * 8;
    for (const Frame& frame : mesh.frames) size += frameHeaderBytes + frame.compact.count() * vertexRecordBytes;
    std::vector<std::uint8_t> out;
    out.reserve(size);
    const std::size_t pairs = std::min(mesh.textureU.count(), mesh.textureV.count());
    put32(out, binaryModelMagic);
    std::uint64_t versionBits = 0;
    std::memcpy(&versionBits, &binaryModelVersion, sizeof versionBits);
    put32(out, std::uint32_t(versionBits));
    put32(out, std::uint32_t(versionBits >> 32));
    put32(out, std::uint32_t(mesh.frames.count()));
    put32(out, std::uint32_t(mesh.palette.count()));
    put32(out, std::uint32_t(pairs));
    for (std::uint32_t colour : mesh.palette) put32(out, colour);
    for (std::size_t i = 0; i < pairs; ++i) {
        putFloat(out, mesh.textureU[i]);
        putFloat(out, mesh.textureV[i]);
    }
    for (const Frame& frame : mesh.frames) {
        put32(out, std::uint32_t(frame.compact.count()));
        putVector(out, frame.offset);
        putVector(out, frame.scale);
        for (const CompactVertex& vertex : frame.compact)
            out.insert(out.end(), {vertex.x, vertex.y, vertex.z, vertex.normalIndex, vertex.colourIndex});
    }
    return out;
}

} // namespace tarvoke
