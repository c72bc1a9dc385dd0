// Frame cost of 3D drawing through the engine's commands, in ms a frame (each frame cleared, the
// scene set up, drawn and finished with glFinish):
//  - a 100,000-triangle terrain of two key frames, drawn as frame 0 (the static vertex buffer)
//    and as a blend of both (the work array through the dynamic buffer), each with vertex
//    buffers and with client-side arrays (the entry points taken away, as on a driver without);
//  - 1,000 small objects of 12 triangles, each under its own transform.
// Where the time goes (engine against driver) comes from a profile of this program: see README.
#include <benchmark/benchmark.h>
#include <GL/gl.h>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include "graphics2d/GlExtensions.h"
#include "graphics3d/ModelFiles.h"
#include "tarvoke.h"

namespace {

using namespace tarvoke;

constexpr int columns = 250, rows = 200;  // 250 x 200 squares of two triangles: 100,000
constexpr int terrain = 1, cube = 2;
constexpr int smallObjects = 1000;

// The terrain's frame `wave`: heights of a rolling wave, shifted by a quarter period in frame 1.
Frame terrainFrame(int wave) {
    Frame frame;
    frame.scale = {40.0f / 255.0f, 4.0f / 255.0f, 40.0f / 255.0f};
    frame.offset = {127.5f, 0.0f, 127.5f};
    frame.compact.reserveExactly(std::size_t(columns) * rows * 6);
    auto corner = [&](int column, int row) {
        CompactVertex vertex;
        vertex.x = std::uint8_t(column * 255 / columns);
        vertex.z = std::uint8_t(row * 255 / rows);
        const double height = std::sin(column * 0.12 + wave * 1.57) * std::cos(row * 0.09);
        vertex.y = std::uint8_t(127.5 + 127.0 * height);
        vertex.normalIndex = std::uint8_t((column + row) % 162);
        vertex.colourIndex = std::uint8_t((column / 10 + row / 10) % 4);
        frame.compact.append(vertex);
    };
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            for (auto [dc, dr] : {std::pair{0, 0}, {0, 1}, {1, 1}, {0, 0}, {1, 1}, {1, 0}}) corner(column + dc, row + dr);
    return frame;
}

struct Scene {
    std::string folder = std::filesystem::temp_directory_path().string() + "/tarvoke-bench-scene";
    Scene() {
        std::filesystem::create_directories(folder);
        MeshObject mesh;
        for (std::uint32_t colour : {0x3C8C3Cu, 0x2E6E8Au, 0x9AB4C8u, 0x507850u}) mesh.palette.append(colour);
        const std::size_t corners = std::size_t(columns) * rows * 6;
        for (std::size_t i = 0; i < corners; ++i) {
            mesh.textureU.append(float(i % 6 < 3 ? 0 : 1));
            mesh.textureV.append(float(i % 2));
        }
        mesh.frames.append(terrainFrame(0));
        mesh.frames.append(terrainFrame(1));
        const std::vector<std::uint8_t> bytes = writeBinaryModel(mesh);
        std::ofstream(folder + "/terrain.ddd", std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                                       std::streamsize(bytes.size()));
        if (!std::getenv("DISPLAY")) setenv("SDL_VIDEODRIVER", "offscreen", 0);
        initEngine("Scene");
        loadObject(StrValue((folder + "/terrain.ddd").c_str()), terrain);
        buildCube();
    }
    ~Scene() {
        shutdownEngine();
        std::filesystem::remove_all(folder);
    }
    // A unit cube of six strips, one a face.
    static void buildCube() {
        static const int faces[6][4][3] = {
            {{0, 0, 0}, {0, 1, 0}, {1, 0, 0}, {1, 1, 0}}, {{0, 0, 1}, {1, 0, 1}, {0, 1, 1}, {1, 1, 1}},
            {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}, {1, 0, 1}}, {{0, 1, 0}, {0, 1, 1}, {1, 1, 0}, {1, 1, 1}},
            {{0, 0, 0}, {0, 0, 1}, {0, 1, 0}, {0, 1, 1}}, {{1, 0, 0}, {1, 1, 0}, {1, 0, 1}, {1, 1, 1}}};
        startObject(cube);
        for (int face = 0; face < 6; ++face) {
            if (face > 0) newStrip();
            for (const auto& p : faces[face]) addObjectVertex(p[0], p[1], p[2], p[0], p[1], 0x4080C0 + face * 0x101010);
        }
        endObject();
    }
};

Scene& scene() {
    static Scene instance;
    return instance;
}

void beginFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    begin3D(1, 200, 60);
    setCamera(0, 25, 30, 0, 0, 0);
    setLight(0, 0xFFFFFF, 0, 0, 0, -0.3, -1, -0.5, 180);
}

void endFrame() {
    end3D();
    glFinish();
}

// Takes the vertex-buffer entry points away for the scope, as on a driver without them.
class WithoutVertexBuffers {
public:
    WithoutVertexBuffers() : saved_(glExt) { glExt.genBuffers = nullptr; }
    ~WithoutVertexBuffers() { glExt = saved_; }

private:
    GlEntryPoints saved_;
};

void drawTerrain(benchmark::State& state, bool blended) {
    scene();
    for (auto _ : state) {
        beginFrame();
        if (blended)
            drawObjectAnim(terrain, 0, 1, 0.5, 0);
        else
            drawObject(terrain, 0);
        endFrame();
    }
    state.counters["triangles"] = getTriangleCount(terrain);
}

void TerrainFrameZeroBuffered(benchmark::State& state) { drawTerrain(state, false); }
void TerrainFrameZeroFromMemory(benchmark::State& state) {
    const WithoutVertexBuffers fallback;
    drawTerrain(state, false);
}
void TerrainBlendedBuffered(benchmark::State& state) { drawTerrain(state, true); }
void TerrainBlendedFromMemory(benchmark::State& state) {
    const WithoutVertexBuffers fallback;
    drawTerrain(state, true);
}

void ThousandSmallObjects(benchmark::State& state) {
    scene();
    for (auto _ : state) {
        beginFrame();
        for (int i = 0; i < smallObjects; ++i) {
            translateTransform(i % 40 - 20, (i / 40) % 5, i / 200 * 2 - 5);
            rotateTransform(i * 7, 0, 1, 0);
            drawObject(cube, 0);
        }
        endFrame();
    }
}

} // namespace

BENCHMARK(TerrainFrameZeroBuffered)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(TerrainFrameZeroFromMemory)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(TerrainBlendedBuffered)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(TerrainBlendedFromMemory)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(ThousandSmallObjects)->Unit(benchmark::kMillisecond)->MinTime(3.0);
