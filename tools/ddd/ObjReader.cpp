// Wavefront OBJ: "v x y z", "vt u v", "vn x y z", "f" with corners "p", "p/t", "p//n" or
// "p/t/n" (1-based, negative counts back from the latest), "mtllib" and "usemtl". Materials give
// "Kd r g b" and "map_Kd file". Other statements (groups, smoothing, lines, points) are skipped.
#include "ObjReader.h"
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <locale>
#include <map>
#include <sstream>

namespace tarvoke::ddd {
namespace {

namespace fs = std::filesystem;

struct Material {
    std::uint32_t colour = whiteColour;
    std::string texture;
};

struct Corner {
    long position = 0, pair = -1, normal = -1;  // 0-based; -1: not given
};

std::string inQuotes(const std::string& text) { return "'" + text + "'"; }

class LineSource {
public:
    explicit LineSource(const std::string& path) : path_(path), file_(path) {
        if (!file_) throw ObjError("cannot read " + inQuotes(path));
    }
    bool next(std::istringstream& words, std::string& keyword) {
        std::string line;
        while (std::getline(file_, line)) {
            ++number_;
            if (!line.empty() && line.back() == '\r') line.pop_back();
            words.clear();
            words.str(line);
            words.imbue(std::locale::classic());
            if (words >> keyword && keyword[0] != '#') return true;
        }
        return false;
    }
    [[noreturn]] void fail(const std::string& message) const {
        throw ObjError(path_ + ":" + std::to_string(number_) + ": " + message);
    }

private:
    std::string path_;
    std::ifstream file_;
    int number_ = 0;
};

float readFloat(std::istringstream& words, LineSource& source) {
    double value = 0;
    if (!(words >> value) || !std::isfinite(float(value))) source.fail("expected a number");
    return float(value);
}

Vector3 readVector(std::istringstream& words, LineSource& source) {
    const float x = readFloat(words, source), y = readFloat(words, source);
    return {x, y, readFloat(words, source)};
}

std::uint32_t colourOf(const Vector3& rgb) {
    auto channel = [](float value) { return std::uint32_t(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f)); };
    return channel(rgb.x) | channel(rgb.y) << 8 | channel(rgb.z) << 16;
}

void readMaterials(const fs::path& path, std::map<std::string, Material>& materials) {
    LineSource source(path.string());
    std::istringstream words;
    std::string keyword;
    Material* current = nullptr;
    while (source.next(words, keyword)) {
        if (keyword == "newmtl") {
            std::string name;
            words >> name;
            current = &materials[name];
        } else if (current && keyword == "Kd") {
            current->colour = colourOf(readVector(words, source));
        } else if (current && keyword == "map_Kd") {
            // Options may come first; the file name is the last word.
            for (std::string word; words >> word;) current->texture = word;
        }
    }
}

// "p", "p/t", "p//n" or "p/t/n", each index checked against what has been read so far.
long resolveIndex(const std::string& text, std::size_t available, LineSource& source) {
    long index = 0;
    std::size_t used = 0;
    try {
        index = std::stol(text, &used);
    } catch (const std::exception&) {
        source.fail("bad index " + inQuotes(text));
    }
    if (used != text.size()) source.fail("bad index " + inQuotes(text));
    const long resolved = index < 0 ? long(available) + index : index - 1;
    if (index == 0 || resolved < 0 || resolved >= long(available))
        source.fail("index " + text + " refers to nothing (" + std::to_string(available) + " defined)");
    return resolved;
}

Corner readCorner(const std::string& word, const std::size_t sizes[3], LineSource& source) {
    std::string parts[3];
    int part = 0;
    for (char c : word) {
        if (c == '/') {
            if (++part > 2) source.fail("bad corner " + inQuotes(word));
        } else {
            parts[part] += c;
        }
    }
    Corner corner;
    corner.position = resolveIndex(parts[0], sizes[0], source);
    if (!parts[1].empty()) corner.pair = resolveIndex(parts[1], sizes[1], source);
    if (!parts[2].empty()) corner.normal = resolveIndex(parts[2], sizes[2], source);
    return corner;
}

Vector3 faceNormal(const Vector3& a, const Vector3& b, const Vector3& c) {
    const Vector3 e1{b.x - a.x, b.y - a.y, b.z - a.z}, e2{c.x - a.x, c.y - a.y, c.z - a.z};
    return {e1.y * e2.z - e1.z * e2.y, e1.z * e2.x - e1.x * e2.z, e1.x * e2.y - e1.y * e2.x};
}

class ObjBuilder {
public:
    explicit ObjBuilder(const std::string& path) : source_(path), folder_(fs::path(path).parent_path()) {}

    ObjModel read() {
        std::istringstream words;
        std::string keyword;
        while (source_.next(words, keyword)) statement(keyword, words);
        if (model_.corners.empty()) source_.fail("no faces");
        return std::move(model_);
    }

private:
    void statement(const std::string& keyword, std::istringstream& words) {
        if (keyword == "v") {
            positions_.push_back(readVector(words, source_));
        } else if (keyword == "vt") {
            const float u = readFloat(words, source_);
            double v = 0;
            words >> v;  // a lone u is allowed
            pairs_.push_back({u, float(v)});
        } else if (keyword == "vn") {
            normals_.push_back(readVector(words, source_));
        } else if (keyword == "f") {
            face(words);
        } else if (keyword == "mtllib") {
            for (std::string name; words >> name;) readMaterials(folder_ / name, materials_);
        } else if (keyword == "usemtl") {
            std::string name;
            words >> name;
            useMaterial(name);
        }
    }

    void useMaterial(const std::string& name) {
        const auto found = materials_.find(name);
        if (found == materials_.end()) {
            model_.warnings.push_back("material " + inQuotes(name) + " is not defined; its faces are white");
            material_ = Material{};
            return;
        }
        material_ = found->second;
        if (material_.texture.empty()) return;
        if (model_.texture.empty()) {
            model_.texture = material_.texture;
        } else if (material_.texture != model_.texture) {
            model_.warnings.push_back("a model has one texture: " + inQuotes(material_.texture) + " is not used, " +
                                      inQuotes(model_.texture) + " is");
        }
        material_.colour = whiteColour;  // the texture carries the colour
    }

    void face(std::istringstream& words) {
        const std::size_t sizes[3] = {positions_.size(), pairs_.size(), normals_.size()};
        std::vector<Corner> corners;
        for (std::string word; words >> word;) corners.push_back(readCorner(word, sizes, source_));
        if (corners.size() < 3) source_.fail("a face needs at least 3 corners");
        for (std::size_t i = 1; i + 1 < corners.size(); ++i) triangle(corners[0], corners[i], corners[i + 1]);
    }

    void triangle(const Corner& a, const Corner& b, const Corner& c) {
        const Vector3 own = faceNormal(positions_[std::size_t(a.position)], positions_[std::size_t(b.position)],
                                       positions_[std::size_t(c.position)]);
        for (const Corner* corner : {&a, &b, &c}) {
            ExpandedVertex vertex;
            vertex.position = positions_[std::size_t(corner->position)];
            vertex.normal = corner->normal >= 0 ? normals_[std::size_t(corner->normal)] : own;
            if (corner->pair >= 0) {
                vertex.u = pairs_[std::size_t(corner->pair)].first;
                // OBJ counts v up from the picture's bottom; the engine draws with -v.
                vertex.v = -pairs_[std::size_t(corner->pair)].second;
            }
            vertex.rawColour = material_.colour;
            model_.corners.push_back(vertex);
        }
    }

    LineSource source_;
    fs::path folder_;
    ObjModel model_;
    std::vector<Vector3> positions_, normals_;
    std::vector<std::pair<float, float>> pairs_;
    std::map<std::string, Material> materials_;
    Material material_;
};

} // namespace

ObjModel readObjFile(const std::string& path) { return ObjBuilder(path).read(); }

} // namespace tarvoke::ddd
