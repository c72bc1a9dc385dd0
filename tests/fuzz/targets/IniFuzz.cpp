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
    // Every kept section and key is found again (in the first section of its name).
    for (const IniSection& section : document.sections) {
        const IniSection* first = findSection(again, section.name);
        if (!first) std::abort();
        for (const auto& pair : first->pairs)
            if (!findValue(*first, pair.first)) std::abort();
    }
    return 0;
}
