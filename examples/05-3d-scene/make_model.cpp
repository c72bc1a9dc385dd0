// Makes the 3D scene example's model as ordinary 3D tools would hand it over: "rocket.obj" (a
// rocket standing on three fins: a round body, a pointed nose, a nozzle), its material file
// "rocket.mtl" and its texture "rocket.bmp" (painted bands, a row of windows). The build turns the
// OBJ into "rocket.ddd" with tarvoke-ddd.
//   make_scene_model FOLDER
// It uses the standard library alone, so the example builds against an installed engine.
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr int segments = 16;
constexpr int textureSide = 64;

struct Point {
    double x, y, z;
};

// An OBJ file written face by face; indices count from 1.
class ObjWriter {
public:
    int position(Point p) {
        text_ += "v " + number(p.x) + " " + number(p.y) + " " + number(p.z) + "\n";
        return ++positions_;
    }
    int normal(Point n) {
        text_ += "vn " + number(n.x) + " " + number(n.y) + " " + number(n.z) + "\n";
        return ++normals_;
    }
    int pair(double u, double v) {
        text_ += "vt " + number(u) + " " + number(v) + "\n";
        return ++pairs_;
    }
    void line(const std::string& text) { text_ += text + "\n"; }
    // Corners as position/pair/normal, counter-clockwise seen from outside.
    void face(const std::vector<std::array<int, 3>>& corners) {
        text_ += "f";
        for (const auto& c : corners) text_ += " " + std::to_string(c[0]) + "/" + std::to_string(c[1]) + "/" + std::to_string(c[2]);
        text_ += "\n";
    }
    const std::string& text() const { return text_; }

private:
    static std::string number(double value) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.5f", value);
        return buffer;
    }
    std::string text_;
    int positions_ = 0, normals_ = 0, pairs_ = 0;
};

// A surface of revolution about the y axis through the profile's (radius, height) points, from
// the bottom up; texture u runs around, v follows the profile.
void addRevolution(ObjWriter& obj, const std::vector<std::pair<double, double>>& profile, double v0, double v1) {
    std::vector<std::vector<std::array<int, 3>>> rings;
    for (std::size_t i = 0; i < profile.size(); ++i) {
        const auto [radius, height] = profile[i];
        // The normal leans with the profile's slope between its neighbours.
        const auto& below = profile[i == 0 ? 0 : i - 1];
        const auto& above = profile[i + 1 < profile.size() ? i + 1 : i];
        const double dr = above.first - below.first, dh = above.second - below.second;
        const double size = std::hypot(dr, dh);
        const double outward = size > 0 ? dh / size : 1.0, up = size > 0 ? -dr / size : 0.0;
        std::vector<std::array<int, 3>> ring;
        for (int s = 0; s <= segments; ++s) {
            const double angle = 2.0 * pi * s / segments;
            const double c = std::cos(angle), sn = std::sin(angle);
            const int p = obj.position({radius * c, height, -radius * sn});
            const int n = obj.normal({outward * c, up, -outward * sn});
            const int t = obj.pair(double(s) / segments, v0 + (v1 - v0) * double(i) / double(profile.size() - 1));
            ring.push_back({p, t, n});
        }
        rings.push_back(ring);
    }
    for (std::size_t i = 0; i + 1 < rings.size(); ++i)
        for (int s = 0; s < segments; ++s)
            obj.face({rings[i][std::size_t(s)], rings[i][std::size_t(s + 1)], rings[i + 1][std::size_t(s + 1)],
                      rings[i + 1][std::size_t(s)]});
}

// A thin box between two points of the body's surface and a tip, standing in the plane of the
// angle: the fin.
void addFin(ObjWriter& obj, double angle) {
    const double c = std::cos(angle), s = -std::sin(angle);
    const double half = 0.05;  // half the thickness, across the fin
    const Point across{-s * half, 0, c * half};
    const Point outline[4] = {{0.45, 1.3, 0}, {0.45, 0.55, 0}, {1.0, 0.0, 0}, {1.0, 0.55, 0}};
    int corners[2][4];
    for (int side = 0; side < 2; ++side)
        for (int k = 0; k < 4; ++k) {
            const double sign = side == 0 ? 1.0 : -1.0;
            corners[side][k] = obj.position({outline[k].x * c + across.x * sign, outline[k].y, outline[k].x * s + across.z * sign});
        }
    const int pair = obj.pair(0.5, 0.02);  // the fins take the texture's dark red lower edge
    auto faceOf = [&](std::initializer_list<std::pair<int, int>> list, Point normal) {
        const int n = obj.normal(normal);
        std::vector<std::array<int, 3>> face;
        for (auto [side, k] : list) face.push_back({corners[side][k], pair, n});
        obj.face(face);
    };
    faceOf({{0, 0}, {0, 1}, {0, 2}, {0, 3}}, {across.x / half, 0, across.z / half});
    faceOf({{1, 3}, {1, 2}, {1, 1}, {1, 0}}, {-across.x / half, 0, -across.z / half});
    for (int k = 0; k < 4; ++k) {
        const int next = (k + 1) % 4;
        faceOf({{0, next}, {0, k}, {1, k}, {1, next}}, {c, 0, s});
    }
}

std::string modelText() {
    ObjWriter obj;
    obj.line("# The 3D scene example's rocket, made by make_scene_model");
    obj.line("mtllib rocket.mtl");
    obj.line("usemtl painted");
    // Nozzle, body and nose as one profile from the bottom up.
    addRevolution(obj, {{0.0, 0.35}, {0.3, 0.35}, {0.45, 0.55}, {0.5, 0.8}, {0.5, 1.6}, {0.5, 2.4}, {0.42, 2.8},
                        {0.25, 3.15}, {0.0, 3.4}},
                  0.0, 1.0);
    for (int fin = 0; fin < 3; ++fin) addFin(obj, 2.0 * pi * fin / 3.0 + pi / 6.0);
    return obj.text();
}

// Bands from the bottom (v = 0) up: dark red nozzle, white body with a red band and a row of
// blue windows, a red nose.
std::vector<std::uint8_t> textureTexels() {
    std::vector<std::uint8_t> rgba(std::size_t(textureSide) * textureSide * 4);
    for (int row = 0; row < textureSide; ++row) {
        const double v = 1.0 - (row + 0.5) / textureSide;  // row 0 is the picture's top
        for (int column = 0; column < textureSide; ++column) {
            const double u = (column + 0.5) / textureSide;
            std::uint8_t r = 235, g = 235, b = 240;
            if (v < 0.12) r = 120, g = 20, b = 20;
            else if (v > 0.3 && v < 0.38) r = 220, g = 30, b = 30;
            else if (v > 0.78) r = 210, g = 35, b = 30;
            const double window = std::hypot(std::fmod(u * 4.0, 1.0) - 0.5, (v - 0.55) * 8.0);
            if (window < 0.25) r = 40, g = 90, b = 200;
            std::uint8_t* p = &rgba[(std::size_t(row) * textureSide + std::size_t(column)) * 4];
            p[0] = r, p[1] = g, p[2] = b, p[3] = 255;
        }
    }
    return rgba;
}

// A 24-bit BMP, bottom row first, rows padded to four bytes.
bool writeBmp(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgba) {
    const std::size_t rowBytes = (std::size_t(width) * 3 + 3) / 4 * 4;
    const std::uint32_t pixelBytes = std::uint32_t(rowBytes * std::size_t(height));
    std::vector<std::uint8_t> file(54, 0);
    auto put32 = [&file](std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) file[at + std::size_t(i)] = std::uint8_t(value >> (8 * i));
    };
    file[0] = 'B', file[1] = 'M';
    put32(2, 54 + pixelBytes);
    put32(10, 54);
    put32(14, 40);
    put32(18, std::uint32_t(width));
    put32(22, std::uint32_t(height));
    file[26] = 1, file[28] = 24;
    put32(34, pixelBytes);
    for (int row = height - 1; row >= 0; --row) {
        std::vector<std::uint8_t> line(rowBytes, 0);
        for (int column = 0; column < width; ++column) {
            const std::uint8_t* p = &rgba[(std::size_t(row) * std::size_t(width) + std::size_t(column)) * 4];
            line[std::size_t(column) * 3] = p[2], line[std::size_t(column) * 3 + 1] = p[1], line[std::size_t(column) * 3 + 2] = p[0];
        }
        file.insert(file.end(), line.begin(), line.end());
    }
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    return bool(out);
}

bool writeText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    return bool(out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_scene_model FOLDER\n");
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    const std::vector<std::uint8_t> texels = textureTexels();
    const bool written = writeText(folder + "rocket.obj", modelText()) &&
                         writeText(folder + "rocket.mtl", "newmtl painted\nKd 1 1 1\nmap_Kd rocket.bmp\n") &&
                         writeBmp(folder + "rocket.bmp", textureSide, textureSide, texels);
    if (!written) {
        std::fprintf(stderr, "make_scene_model: cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
