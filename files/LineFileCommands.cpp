// The line commands on the process's one cached line file, which this file owns.
#include "files/LineFile.h"
#include <algorithm>
#include "files/ArchiveSlot.h"
#include "platform/Files.h"
#include "tarvoke/core.h"
#include "tarvoke/files.h"

namespace tarvoke {
namespace {

LineFile cache;

constexpr std::size_t restBlock = 64 * 1024;

bool validLine(NumValue line, int& index) {
    index = toInt(line);
    return index >= 0 && index < lineFileLines;
}

// Lines past the cache are copied from the file being replaced, so a long file loses none.
bool copyRest(platform::FileReplacement& replacement) {
    platform::File old;
    if (!old.openForReading(cache.target) || !old.moveBy(std::int64_t(cache.restOffset))) return false;
    char block[restBlock];
    for (;;) {
        const std::size_t got = old.read(block, sizeof block);
        if (got > 0 && !replacement.write(block, got)) return false;
        if (got < sizeof block) return true;
    }
}

void writeBack() {
    if (cache.name.empty() || !cache.dirty) return;
    if (!cache.unreadable) {
        const std::string text = writeLineFile(cache);
        platform::FileReplacement replacement(cache.target);
        const bool keepRest = cache.restOffset > 0 && cache.source == cache.target;
        if (replacement.write(text.data(), text.size()) && (!keepRest || copyRest(replacement)) && replacement.commit())
            return;
    }
    appendErrorLog(concat("Line file not written: ", cache.target.c_str()));
}

void loadFrom(const std::string& path) {
    platform::File file;
    cache.unreadable = !file.openForSharedReading(path);
    if (cache.unreadable) return;
    LineStream lines(file);
    loadLineFile(cache, lines);
}

} // namespace

int selectLineFile(const StrValue* name) {
    if (name && cache.name == name->cStr()) return 0;
    writeBack();
    cache = LineFile{};
    if (!name) return 0;
    cache.name = name->cStr();
    cache.target = platform::absolutePath(platform::nativePath(cache.name));
    StrValue path;
    if (!resolveFile(generalArchive, *name, path)) return int(recordError(3));
    cache.source = platform::absolutePath(path.cStr());
    loadFrom(cache.source);
    return 0;
}

const LineFile& currentLineFile() { return cache; }

StrValue getFileLine(const StrValue& name, NumValue line) {
    int index = 0;
    if (!validLine(line, index)) {
        recordError(7);
        return "NO_DATA";
    }
    if (selectLineFile(&name) != 0) return "NO_FILE";
    std::string text = cache.lines[index];
    trimTrailingControlBytes(text);
    return text.empty() ? StrValue("NO_DATA") : StrValue(text.c_str());
}

NumValue getFileLineNumber(const StrValue& name, NumValue line) { return getFileLine(name, line).toNumber(); }

void putFileLine(const StrValue& name, NumValue line, const StrValue& text) {
    int index = 0;
    if (!validLine(line, index)) {
        recordError(7);
        return;
    }
    selectLineFile(&name);
    cache.lines[index].assign(text.cStr(), std::min<std::size_t>(text.length(), lineFileLineLimit));
    cache.highestLine = std::max(cache.highestLine, index);
    cache.dirty = true;
}

void putFileLineNumber(const StrValue& name, NumValue line, NumValue number) {
    putFileLine(name, line, formatNumber(number));
}

} // namespace tarvoke
