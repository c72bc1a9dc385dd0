// The INI commands on the process's one document.
#include "files/IniFile.h"
#include "files/ArchiveSlot.h"
#include "platform/Files.h"
#include "tarvoke/core.h"
#include "tarvoke/files.h"

namespace tarvoke {
namespace {

IniDocument document;

void loadFrom(const std::string& path) {
    platform::File file;
    document.unreadable = !file.openForSharedReading(path);
    if (document.unreadable) return;
    LineStream lines(file);
    loadIni(document, lines);
}

} // namespace

bool writeBackIni() {
    if (!document.dirty || document.fileName.empty()) return true;
    if (!document.unreadable) {
        const std::string text = writeIni(document);
        platform::FileReplacement replacement(document.fileName);
        if (replacement.write(text.data(), text.size()) && replacement.commit()) return true;
    }
    appendErrorLog(concat("INI file not written: ", document.fileName.c_str()));
    return false;
}

void saveIniAtEnd() {
    writeBackIni();
    document.dirty = false;
}

const IniDocument& currentIni() { return document; }

// The document is read from wherever the lookup finds it (an archive member's temporary file,
// say) but always written back to the file the game named, seen from the current directory now.
void iniOpen(const StrValue& name) {
    writeBackIni();
    document = IniDocument{};
    StrValue path;
    const bool found = resolveFile(generalArchive, name, path);
    if (name.length() == 0) return;
    document.fileName = platform::absolutePath(platform::nativePath(name.cStr()));
    if (found) loadFrom(path.cStr());
}

StrValue iniGet(const StrValue& section, const StrValue& key) {
    const IniSection* found = findSection(document, section.cStr());
    const std::string* value = found ? findValue(*found, key.cStr()) : nullptr;
    return value ? StrValue(value->c_str()) : StrValue("NO_DATA");
}

void iniPut(const StrValue& section, const StrValue& key, const StrValue& value) {
    putIni(document, section.cStr(), key.cStr(), value.cStr());
}

} // namespace tarvoke
