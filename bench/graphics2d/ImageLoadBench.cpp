// Loading a 1024 x 1024 picture into a sprite (decode, colour key, texture and mipmaps) beside
// libpng decoding the same PNG alone; their ratio is the figure. Run under Xvfb or with
// SDL_VIDEODRIVER=offscreen.
#include <benchmark/benchmark.h>
#include <png.h>
#include <cstdlib>
#include <filesystem>
#include <vector>
#include "graphics2d/ImageFiles.h"
#include "graphics2d/OpenGLKestrel.h"
#include "graphics2d/PngWriter.h"
#include "tarvoke.h"

namespace {

using namespace tarvoke;

constexpr int side = 1024;

// A photo-like picture: gradients with fine noise, so neither format compresses it trivially.
std::vector<std::uint8_t> photoLikePixels() {
    std::vector<std::uint8_t> rgba(std::size_t(side) * side * 4);
    std::uint32_t noise = 99;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            noise = noise * 1664525u + 1013904223u;
            std::uint8_t* p = &rgba[(std::size_t(y) * side + std::size_t(x)) * 4];
            p[0] = std::uint8_t(x / 4 + (noise >> 28));
            p[1] = std::uint8_t(y / 4 + (noise >> 29));
            p[2] = std::uint8_t((x + y) / 8);
            p[3] = 255;
        }
    }
    return rgba;
}

struct Pictures {
    std::string folder = std::filesystem::temp_directory_path().string() + "/tarvoke-bench-images";
    std::string png = folder + "/photo.png";
    std::string bmp = folder + "/photo.bmp";
    Pictures() {
        std::filesystem::create_directories(folder);
        const std::vector<std::uint8_t> rgba = photoLikePixels();
        writePngFile(png, side, side, rgba.data());
        std::vector<std::uint8_t> bgrBottomUp(std::size_t(side) * side * 3);
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x)
                for (int c = 0; c < 3; ++c)
                    bgrBottomUp[(std::size_t(side - 1 - y) * side + std::size_t(x)) * 3 + std::size_t(c)] =
                        rgba[(std::size_t(y) * side + std::size_t(x)) * 4 + std::size_t(2 - c)];
        writeImageFile(bmp, bgrBottomUp.data(), side, side, side, KeyProbe{});
        if (!std::getenv("DISPLAY")) setenv("SDL_VIDEODRIVER", "offscreen", 0);
        initEngine("Image loading");
    }
    ~Pictures() {
        shutdownEngine();
        std::filesystem::remove_all(folder);
    }
};

Pictures& pictures() {
    static Pictures instance;
    return instance;
}

void LoadPngIntoSprite(benchmark::State& state) {
    const StrValue name(pictures().png.c_str());
    for (auto _ : state) {
        loadSprite(name, 1);
        glFinish();
    }
}

void LoadBmpIntoSprite(benchmark::State& state) {
    const StrValue name(pictures().bmp.c_str());
    for (auto _ : state) {
        loadSprite(name, 2);
        glFinish();
    }
}

void DecodePngWithLibpngAlone(benchmark::State& state) {
    const std::string& path = pictures().png;
    std::vector<std::uint8_t> rgba(std::size_t(side) * side * 4);
    for (auto _ : state) {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        if (!png_image_begin_read_from_file(&image, path.c_str())) state.SkipWithError("libpng failed");
        image.format = PNG_FORMAT_RGBA;
        png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr);
        benchmark::DoNotOptimize(rgba.data());
    }
}

} // namespace

BENCHMARK(LoadPngIntoSprite)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(DecodePngWithLibpngAlone)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(LoadBmpIntoSprite)->Unit(benchmark::kMillisecond)->MinTime(2.0);
