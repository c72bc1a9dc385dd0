// The text .ddd format: whitespace-separated tokens, "#" to the end of a line is a comment.
//   DDDA version
//   T, then T pairs "u v"
//   N faces, each "red green blue K" and K pairs "vertex texture-pair"
//   F frames, each V and V vertices "x y z" (version 1.1: followed by "nx ny nz")
// Each face becomes a fan marker and its corners in every frame; the frames are then quantised.
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>
#include "graphics3d/ModelFiles.h"
#include "tarvoke/StrValue.h"

namespace tarvoke {
namespace {

bool isSeparator(std::uint8_t c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Sign, digits with at most one ".", at least one digit, then an optional exponent ("e" or "d").
bool isDecimal(const std::string& token) {
    std::size_t at = token[0] == '+' || token[0] == '-' ? 1 : 0;
    std::size_t digits = 0;
    while (at < token.size() && isDigit(token[at])) ++at, ++digits;
    if (at < token.size() && token[at] == '.') ++at;
    while (at < token.size() && isDigit(token[at])) ++at, ++digits;
    if (digits == 0) return false;
    if (at < token.size() && (token[at] == 'e' || token[at] == 'E' || token[at] == 'd' || token[at] == 'D')) {
        ++at;
        if (at < token.size() && (token[at] == '+' || token[at] == '-')) ++at;
        const std::size_t exponentStart = at;
        while (at < token.size() && isDigit(token[at])) ++at;
        if (at == exponentStart) return false;
    }
    return at == token.size();
}

class TokenReader {
public:
    TokenReader(const std::uint8_t* bytes, std::size_t size) : at_(bytes), end_(bytes + size) {}

    bool word(std::string& token) {
        skipSeparatorsAndComments();
        token.clear();
        while (at_ < end_ && !isSeparator(*at_) && *at_ != '#') token.push_back(char(*at_++));
        return !token.empty();
    }
    bool number(double& value) {
        if (!word(token_) || !isDecimal(token_)) return false;
        value = toNumber(token_.c_str());
        return true;
    }
    // A number that a float cannot hold (beyond about 3.4e38) is refused.
    bool number(float& value) {
        double wide = 0;
        if (!number(wide)) return false;
        value = float(wide);
        return std::isfinite(value);
    }
    bool integer(int& value) {
        double wide = 0;
        if (!number(wide)) return false;
        value = toInt(wide);
        return true;
    }
    // A count of items of `numbersEach` numbers that the rest of the file can hold (every number
    // takes at least one character and a separator).
    bool count(int& value, std::size_t numbersEach) {
        const std::size_t numbersLeft = (std::size_t(end_ - at_) + 1) / 2;
        return integer(value) && value >= 0 && std::size_t(value) <= numbersLeft / numbersEach;
    }

private:
    void skipSeparatorsAndComments() {
        while (at_ < end_) {
            if (isSeparator(*at_)) {
                ++at_;
            } else if (*at_ == '#') {
                while (at_ < end_ && *at_ != '\n') ++at_;
            } else {
                break;
            }
        }
    }

    const std::uint8_t* at_;
    const std::uint8_t* end_;
    std::string token_;
};

struct Corner {
    int vertex = 0;
    int pair = 0;
};

struct Face {
    std::uint32_t colour = 0;
    std::size_t firstCorner = 0;
    std::size_t cornerCount = 0;
};

struct TextModel {
    bool withNormals = false;
    std::vector<float> u, v;
    std::vector<Face> faces;
    std::vector<Corner> corners;
};

std::uint32_t colourByte(double value) {
    const int channel = toInt(value);
    return std::uint32_t(channel < 0 ? 0 : channel > 255 ? 255 : channel);
}

ModelStatus readHeader(TokenReader& tokens, TextModel& model) {
    std::string keyword;
    double version = 0;
    if (!tokens.word(keyword) || keyword != "DDDA" || !tokens.number(version)) return ModelStatus::ReadError;
    if (version > textModelVersion) return ModelStatus::WrongVersion;
    model.withNormals = version >= textModelVersion;
    int pairs = 0;
    if (!tokens.count(pairs, 2)) return ModelStatus::ReadError;
    model.u.resize(std::size_t(pairs));
    model.v.resize(std::size_t(pairs));
    for (int i = 0; i < pairs; ++i)
        if (!tokens.number(model.u[std::size_t(i)]) || !tokens.number(model.v[std::size_t(i)])) return ModelStatus::ReadError;
    return ModelStatus::Loaded;
}

ModelStatus readFaces(TokenReader& tokens, TextModel& model) {
    int faces = 0;
    if (!tokens.count(faces, 4)) return ModelStatus::ReadError;
    model.faces.resize(std::size_t(faces));
    for (Face& face : model.faces) {
        double red = 0, green = 0, blue = 0;
        int corners = 0;
        if (!tokens.number(red) || !tokens.number(green) || !tokens.number(blue) || !tokens.count(corners, 2))
            return ModelStatus::ReadError;
        face.colour = colourByte(red) | colourByte(green) << 8 | colourByte(blue) << 16;
        face.firstCorner = model.corners.size();
        face.cornerCount = std::size_t(corners);
        for (int i = 0; i < corners; ++i) {
            Corner corner;
            if (!tokens.integer(corner.vertex) || !tokens.integer(corner.pair) || corner.pair < 0 ||
                std::size_t(corner.pair) >= model.u.size())
                return ModelStatus::ReadError;
            model.corners.push_back(corner);
        }
    }
    return ModelStatus::Loaded;
}

ModelStatus readVertices(TokenReader& tokens, const TextModel& model, std::vector<ExpandedVertex>& vertices) {
    int count = 0;
    if (!tokens.count(count, model.withNormals ? 6 : 3)) return ModelStatus::ReadError;
    vertices.assign(std::size_t(count), ExpandedVertex{});
    for (ExpandedVertex& vertex : vertices) {
        if (!tokens.number(vertex.position.x) || !tokens.number(vertex.position.y) || !tokens.number(vertex.position.z))
            return ModelStatus::ReadError;
        if (model.withNormals &&
            (!tokens.number(vertex.normal.x) || !tokens.number(vertex.normal.y) || !tokens.number(vertex.normal.z)))
            return ModelStatus::ReadError;
    }
    return ModelStatus::Loaded;
}

// One fan marker and the face's corners, per face, from this frame's vertices.
ModelStatus expandFrame(const TextModel& model, const std::vector<ExpandedVertex>& vertices,
                        std::vector<ExpandedVertex>& records) {
    records.clear();
    for (const Face& face : model.faces) {
        ExpandedVertex marker;
        marker.rawColour = fanMarker;
        records.push_back(marker);
        for (std::size_t i = 0; i < face.cornerCount; ++i) {
            const Corner& corner = model.corners[face.firstCorner + i];
            if (corner.vertex < 0 || std::size_t(corner.vertex) >= vertices.size()) return ModelStatus::ReadError;
            ExpandedVertex record = vertices[std::size_t(corner.vertex)];
            record.u = model.u[std::size_t(corner.pair)];
            record.v = model.v[std::size_t(corner.pair)];
            record.rawColour = face.colour;
            records.push_back(record);
        }
    }
    return ModelStatus::Loaded;
}

// Faces are shared by all frames, so a small file could otherwise ask for a huge model: the
// frames together may hold at most two vertex records per byte of the file (ordinary models
// need well under one).
bool modelSizeJustified(const TextModel& model, int frames, std::size_t fileSize) {
    const std::uint64_t records = std::uint64_t(model.faces.size() + model.corners.size()) * std::uint64_t(frames);
    return records <= 2 * std::uint64_t(fileSize) + 65536;
}

ModelStatus readBody(TokenReader& tokens, std::size_t fileSize, MeshObject& mesh) {
    TextModel model;
    ModelStatus status = readHeader(tokens, model);
    if (status == ModelStatus::Loaded) status = readFaces(tokens, model);
    if (status != ModelStatus::Loaded) return status;
    int frames = 0;
    if (!tokens.count(frames, 1) || !modelSizeJustified(model, frames, fileSize)) return ModelStatus::ReadError;
    if (!mesh.frames.reserveExactly(std::size_t(frames))) return ModelStatus::OutOfMemory;
    std::vector<ExpandedVertex> vertices, records;
    for (int i = 0; i < frames; ++i) {
        status = readVertices(tokens, model, vertices);
        if (status == ModelStatus::Loaded) status = expandFrame(model, vertices, records);
        Frame frame;
        if (status == ModelStatus::Loaded) status = quantiseFrame(mesh, frame, records.data(), records.size(), i == 0);
        if (status != ModelStatus::Loaded) return status;
        if (!mesh.frames.append(std::move(frame))) return ModelStatus::OutOfMemory;
    }
    return ModelStatus::Loaded;
}

} // namespace

ModelStatus readTextModel(const std::uint8_t* bytes, std::size_t size, MeshObject& mesh) {
    mesh.clear();
    TokenReader tokens(bytes, size);
    ModelStatus status = ModelStatus::OutOfMemory;
    try {
        status = readBody(tokens, size, mesh);
    } catch (const std::bad_alloc&) {
        status = ModelStatus::OutOfMemory;
    }
    if (status != ModelStatus::Loaded) mesh.clear();
    return status;
}

} // namespace tarvoke
