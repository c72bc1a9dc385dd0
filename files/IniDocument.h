// IniDocument: an INI file held in memory, with the loader's and writer's rules. Sections and
// keys keep file order; names match without regard to ASCII letter case, and every lookup takes
// the first section of a name, as a file may repeat one.
#pragma once
#include <string>
#include <utility>
#include <vector>
#include "files/LineReader.h"

namespace tarvoke {

struct IniSection {
    std::string name;
    std::vector<std::pair<std::string, std::string>> pairs;  // key, value
};

struct IniDocument {
    std::string fileName;     // written back to; empty: nothing is ever written
    bool dirty = false;       // changed since loading
    bool unreadable = false;  // the file is there but could not be read: never written over
    std::vector<IniSection> sections;
};

// Reads every line into the document's sections (comments, sections without keys, key lines
// without "=" or value are dropped).
void loadIni(IniDocument& document, LineStream& lines);
// The document as the file holds it: "[name]" and "key=value" lines, each ending in CR LF.
std::string writeIni(const IniDocument& document);

IniSection* findSection(IniDocument& document, const std::string& name);
const std::string* findValue(const IniSection& section, const std::string& key);
// A missing key is added (even with an empty value); an empty value removes the key, the
// section's last key taking its place; an empty key removes the section likewise.
void putIni(IniDocument& document, const std::string& section, const std::string& key, const std::string& value);

} // namespace tarvoke
