// Loading a 100,000-triangle binary .ddd model into an object slot (reading the file, checking
// and decoding it, building its triangle array and bounding sphere), in ms, beside reading the
// same bytes with std::ifstream alone in the same run. Target: the load within the read + 50 ms.
// The first load of a process is timed on its own: its 26 MB of triangle records land in memory
// the process has never touched, and the page faults for it cost more than the decoding.
#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <vector>
#include "graphics3d/Graphics3D.h"
#include "graphics3d/Kestrel3D.h"
#include "graphics3d/ModelFiles.h"
#include "tarvoke/graphics3d.h"

namespace {

using namespace tarvoke;

constexpr std::size_t triangleCount = 100000;

// Separate triangles scattered through the quantisation cube, eight colours, one pair a vertex.
MeshObject benchModel() {
    MeshObject mesh;
    for (std::uint32_t colour = 0; colour < 8; ++colour) mesh.palette.append(colour * 0x203040);
    Frame frame;
    frame.scale = {0.01f, 0.01f, 0.01f};
    frame.compact.reserveExactly(triangleCount * 3);
    mesh.textureU.reserveExactly(triangleCount * 3);
    mesh.textureV.reserveExactly(triangleCount * 3);
    std::uint32_t noise = 2024;
    for (std::size_t i = 0; i < triangleCount * 3; ++i) {
        noise = noise * 1103515245u + 12345u;
        CompactVertex vertex;
        vertex.x = std::uint8_t(noise >> 8);
        vertex.y = std::uint8_t(noise >> 16);
        vertex.z = std::uint8_t(noise >> 24);
        vertex.normalIndex = std::uint8_t(noise % 162);
        vertex.colourIndex = std::uint8_t(i / 3 % 8);
        frame.compact.append(vertex);
        mesh.textureU.append(float(i % 7) / 7.0f);
        mesh.textureV.append(float(i % 5) / 5.0f);
    }
    mesh.frames.append(std::move(frame));
    return mesh;
}

struct Fixture {
    std::string path = (std::filesystem::temp_directory_path() / "tarvoke-bench-model.ddd").string();
    std::size_t bytes = 0;

    Fixture() {
        const std::vector<std::uint8_t> file = writeBinaryModel(benchModel());
        bytes = file.size();
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), std::streamsize(bytes));
        startGraphics3D();
    }
    ~Fixture() {
        stopGraphics3D();
        std::filesystem::remove(path);
    }
};

Fixture& fixture() {
    static Fixture instance;
    return instance;
}

void loadAndCheck(benchmark::State& state) {
    const StrValue name(fixture().path.c_str());
    for (auto _ : state) {
        loadObject(name, 1);
        benchmark::DoNotOptimize(kestrel3D->objects[1].meshes.data());
    }
    const Frame& frame = kestrel3D->objects[1].meshes.at(0).frames[0];
    if (frame.triangles.count() != triangleCount * 3) state.SkipWithError("the model did not load whole");
    state.counters["triangles"] = double(frame.triangles.count() / 3);
    state.counters["file_bytes"] = double(fixture().bytes);
}

void FirstLoadOfTheProcess(benchmark::State& state) { loadAndCheck(state); }
BENCHMARK(FirstLoadOfTheProcess)->Unit(benchmark::kMillisecond)->Iterations(1);

void LoadObjectWithRenderArrays(benchmark::State& state) { loadAndCheck(state); }
BENCHMARK(LoadObjectWithRenderArrays)->Unit(benchmark::kMillisecond);

void ReadSameBytesWithIfstream(benchmark::State& state) {
    std::vector<char> bytes(fixture().bytes);
    for (auto _ : state) {
        std::ifstream file(fixture().path, std::ios::binary);
        file.read(bytes.data(), std::streamsize(bytes.size()));
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(ReadSameBytesWithIfstream)->Unit(benchmark::kMillisecond);

} // namespace
