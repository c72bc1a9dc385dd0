// Game files: readLine through a channel over a 4 MiB file of 80-byte lines (lines/s), beside
// std::getline on the same file in the same run; loading a 10,000-key INI file, and changing one
// key and writing the file back safely (temporary file, flush to disk, rename).
#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <string>
#include "files/Files.h"
#include "tarvoke.h"

namespace {

using namespace tarvoke;

constexpr int lineCount = (4 << 20) / 80;  // 4 MiB of 80-byte lines
constexpr int iniKeys = 10000;

struct Fixture {
    std::string folder = std::filesystem::temp_directory_path().string() + "/tarvoke-bench-files";
    std::string lines = folder + "/lines.txt";
    std::string ini = folder + "/big.ini";

    Fixture() {
        std::filesystem::create_directories(folder);
        std::ofstream text(lines, std::ios::binary);
        for (int i = 0; i < lineCount; ++i) text << std::string(77, char('a' + i % 26)) << " \r\n";
        std::ofstream settings(ini, std::ios::binary);
        for (int i = 0; i < iniKeys; ++i) {
            if (i % 100 == 0) settings << "[Section " << i / 100 << "]\r\n";
            settings << "key" << i << " = value number " << i << "\r\n";
        }
    }
    ~Fixture() { std::filesystem::remove_all(folder); }
};

Fixture& fixture() {
    static Fixture instance;
    return instance;
}

void ReadLineThroughChannel(benchmark::State& state) {
    std::int64_t lines = 0;
    for (auto _ : state) {
        openFile(0, fixture().lines.c_str(), 1);
        StrValue line;
        while (!endOfFile(0)) {
            readLine(0, line);
            ++lines;
        }
        closeFile(0);
    }
    state.SetItemsProcessed(lines);
}
BENCHMARK(ReadLineThroughChannel)->Unit(benchmark::kMillisecond);

void GetlineOnIfstream(benchmark::State& state) {
    std::int64_t lines = 0;
    for (auto _ : state) {
        std::ifstream in(fixture().lines, std::ios::binary);
        std::string line;
        while (std::getline(in, line)) ++lines;
    }
    state.SetItemsProcessed(lines);
}
BENCHMARK(GetlineOnIfstream)->Unit(benchmark::kMillisecond);

void LoadIniOf10000Keys(benchmark::State& state) {
    for (auto _ : state) {
        iniOpen(fixture().ini.c_str());
        benchmark::DoNotOptimize(iniGet("Section 99", "key9999"));
    }
}
BENCHMARK(LoadIniOf10000Keys)->Unit(benchmark::kMillisecond);

void ChangeOneKeyAndWriteBack(benchmark::State& state) {
    iniOpen(fixture().ini.c_str());
    int round = 0;
    for (auto _ : state) {
        iniPut("Section 50", "key5000", formatNumber(++round));
        saveFilesAtEnd();
    }
}
BENCHMARK(ChangeOneKeyAndWriteBack)->Unit(benchmark::kMillisecond);

} // namespace
