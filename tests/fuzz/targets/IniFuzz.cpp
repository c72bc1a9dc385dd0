// The INI loader on any bytes. What it keeps must write out and load back to the same document,
// as long as no written line is longer than the reader takes in one piece.
#include <cstdint>
#include <cstdlib>
#include <string>
#include "files/IniDocument.h"

namespace {

bool everyLineFits(const std::string& text) {
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        if (end - start > tarvoke::lineLimit - 2) return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tarvoke;
    IniDocument document;
    LineStream lines(reinterpret_cast<const char*>(data), size);
    loadIni(document, lines);
    const std::string written = writeIni(document);
    if (!everyLineFits(written)) return 0;
    IniDocument again;
    LineStream writtenLines(written.data(), written.size());
    loadIni(again, writtenLines);
    if (writeIni(again) != written) std::abort();
    for (const IniSection& section : document.sections)  // every kept section is found again
        if (!findSection(again, section.name)) std::abort();
    return 0;
}
