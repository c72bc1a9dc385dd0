// The language's values against the standard library in the same run: text appends, number
// formatting, random draws, and checked number-array access.
#include <benchmark/benchmark.h>
#include <cstdio>
#include <string>
#include <vector>
#include "tarvoke.h"

namespace {

using namespace tarvoke;

constexpr int appendCount = 1000000;
constexpr int side = 1000;

void AppendToStrValue(benchmark::State& state) {
    for (auto _ : state) {
        StrValue text;
        for (int i = 0; i < appendCount; ++i) text += "ab";
        benchmark::DoNotOptimize(text.cStr());
    }
}

void AppendToStdString(benchmark::State& state) {
    for (auto _ : state) {
        std::string text;
        for (int i = 0; i < appendCount; ++i) text += "ab";
        benchmark::DoNotOptimize(text.data());
    }
}

std::vector<double> variedValues() {
    std::vector<double> values(appendCount);
    double x = 0.000123;
    for (double& value : values) {
        x = x * 1.7 + 0.31;
        if (x > 1e12) x /= 1.37e11;
        value = (values.size() % 3 == 0 ? -x : x);
    }
    return values;
}

void FormatNumber(benchmark::State& state) {
    const std::vector<double> values = variedValues();
    for (auto _ : state) {
        std::size_t total = 0;
        for (double value : values) total += formatNumber(value).length();
        benchmark::DoNotOptimize(total);
    }
}

void SnprintfTenDigits(benchmark::State& state) {
    const std::vector<double> values = variedValues();
    char buffer[64];
    for (auto _ : state) {
        std::size_t total = 0;
        for (double value : values) total += std::size_t(std::snprintf(buffer, sizeof buffer, "%.10g", value));
        benchmark::DoNotOptimize(total);
    }
}

void RandomIntDraws(benchmark::State& state) {
    seedRandom(12345);
    for (auto _ : state) benchmark::DoNotOptimize(randomInt(1000));
    state.SetItemsProcessed(state.iterations());
}

// Writes then reads every element, first index fastest, as compiled loops do.
void NumArrayAccess(benchmark::State& state) {
    NumArray grid;
    dimArray(grid, side, side);
    for (auto _ : state) {
        for (int j = 0; j < side; ++j)
            for (int i = 0; i < side; ++i) grid(i, j) = i + j;
        double sum = 0;
        for (int j = 0; j < side; ++j)
            for (int i = 0; i < side; ++i) sum += grid(i, j);
        benchmark::DoNotOptimize(sum);
    }
}

void VectorAccess(benchmark::State& state) {
    std::vector<double> grid(std::size_t(side) * side);
    for (auto _ : state) {
        for (int j = 0; j < side; ++j)
            for (int i = 0; i < side; ++i) grid[std::size_t(i) + std::size_t(j) * side] = i + j;
        double sum = 0;
        for (int j = 0; j < side; ++j)
            for (int i = 0; i < side; ++i) sum += grid[std::size_t(i) + std::size_t(j) * side];
        benchmark::DoNotOptimize(sum);
    }
}

} // namespace

BENCHMARK(AppendToStrValue)->Unit(benchmark::kMillisecond);
BENCHMARK(AppendToStdString)->Unit(benchmark::kMillisecond);
BENCHMARK(FormatNumber)->Unit(benchmark::kMillisecond);
BENCHMARK(SnprintfTenDigits)->Unit(benchmark::kMillisecond);
BENCHMARK(RandomIntDraws);
BENCHMARK(NumArrayAccess)->Unit(benchmark::kMillisecond);
BENCHMARK(VectorAccess)->Unit(benchmark::kMillisecond);
