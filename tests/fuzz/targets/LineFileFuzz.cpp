// The line-file loader on any bytes: at most 256 lines of at most 1024 bytes, and lines that fit
// the reader's piece with their line end load back unchanged from the written file.
#include <cstdint>
#include <cstdlib>
#include <string>
#include "files/LineFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tarvoke;
    LineFile file;
    LineStream lines(reinterpret_cast<const char*>(data), size);
    loadLineFile(file, lines);
    if (file.highestLine < 0 || file.highestLine >= lineFileLines || file.restOffset > size) std::abort();
    bool fit = true;
    for (const std::string& line : file.lines) {
        if (line.size() > lineLimit) std::abort();
        fit = fit && line.size() <= lineLimit - 2;
    }
    if (!fit) return 0;
    const std::string written = writeLineFile(file);
    LineFile again;
    LineStream writtenLines(written.data(), written.size());
    loadLineFile(again, writtenLines);
    if (again.lines != file.lines || again.highestLine != file.highestLine) std::abort();
    return 0;
}
