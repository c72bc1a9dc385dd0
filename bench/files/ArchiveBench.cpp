// Archive lookups: unpacking a 16 MiB member to its temporary file (MiB/s), beside liblzo2's own
// decompressor on the same block in the same run (their ratio is the figure), and the cost of
// a lookup that finds the file on disk (us).
#include <benchmark/benchmark.h>
#include <lzo/lzo1x.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include "files/ArchiveReader.h"
#include "files/ArchiveSlot.h"
#include "pack/ArchiveWriter.h"

namespace {

using namespace tarvoke;

constexpr std::size_t memberSize = 16u << 20;

// Picture-like bytes: smooth gradients with noise, which LZO packs to roughly half.
std::vector<std::uint8_t> memberBytes() {
    std::vector<std::uint8_t> bytes(memberSize);
    std::uint32_t noise = 12345;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        noise = noise * 1103515245u + 12345u;
        bytes[i] = std::uint8_t((i / 4 % 256) + ((noise >> 16) & 7));
    }
    return bytes;
}

struct Fixture {
    std::string folder = std::filesystem::temp_directory_path().string() + "/tarvoke-bench-archive";
    std::string archivePath = folder + "/bench.kqz";
    std::string diskFile = folder + "/on-disk.png";
    std::vector<std::uint8_t> block;  // the member's data block as stored

    Fixture() {
        std::filesystem::create_directories(folder);
        const std::vector<std::uint8_t> bytes = memberBytes();
        block = pack::packBlock(bytes);
        const auto archive = pack::buildStandaloneArchive({{"big.bin", bytes}});
        std::ofstream(archivePath, std::ios::binary).write(reinterpret_cast<const char*>(archive.data()),
                                                           std::streamsize(archive.size()));
        std::ofstream(diskFile) << "picture";
        setenv("TMPDIR", folder.c_str(), 1);
    }
    ~Fixture() { std::filesystem::remove_all(folder); }
};

Fixture& fixture() {
    static Fixture instance;
    return instance;
}

void UnpackMemberThroughLookup(benchmark::State& state) {
    ArchiveSlot slot;
    resetArchiveSlot(slot, fixture().archivePath);
    const StrValue name("data/big.bin");
    StrValue path;
    for (auto _ : state) {
        if (!resolveFile(&slot, name, path)) state.SkipWithError("lookup failed");
        benchmark::DoNotOptimize(path.cStr());
    }
    resetArchiveSlot(slot, "");
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(memberSize));
}

void LzoDecompressOnly(benchmark::State& state) {
    const std::vector<std::uint8_t>& block = fixture().block;
    lzo_init();
    std::unique_ptr<std::uint8_t[]> out(new std::uint8_t[memberSize]);
    for (auto _ : state) {
        lzo_uint produced = memberSize;
        if (lzo1x_decompress_safe(block.data() + 4, lzo_uint(block.size() - 4), out.get(), &produced, nullptr) != LZO_E_OK)
            state.SkipWithError("lzo failed");
        benchmark::DoNotOptimize(out.get());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(memberSize));
}

void LookupOfAFileOnDisk(benchmark::State& state) {
    ArchiveSlot slot;
    resetArchiveSlot(slot, fixture().archivePath);
    const StrValue name(fixture().diskFile.c_str());
    StrValue path;
    for (auto _ : state) {
        resolveFile(&slot, name, path);
        benchmark::DoNotOptimize(path.cStr());
    }
}

} // namespace

BENCHMARK(UnpackMemberThroughLookup)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(LzoDecompressOnly)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(LookupOfAFileOnDisk)->Unit(benchmark::kMicrosecond);
