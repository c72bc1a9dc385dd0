#include "files/IniDocument.h"

namespace tarvoke {
namespace {

// Removes the element by moving the last one into its place, as the document always has.
template <typename T>
void removeByLast(std::vector<T>& list, T& element) {
    if (&element != &list.back()) element = std::move(list.back());
    list.pop_back();
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::size_t skipBlanks(const std::string& line, std::size_t at) {
    while (at < line.size() && isBlank(line[at])) ++at;
    return at;
}

char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool sameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (asciiLower(a[i]) != asciiLower(b[i])) return false;
    return true;
}

// The name runs to the first "]" (or the line's end) and keeps its inner spaces: "[My Section]"
// names "My Section". An empty name leaves the current one as it was.
void readHeader(const std::string& line, std::size_t at, IniSection& current) {
    at = skipBlanks(line, at + 1);
    std::size_t end = line.find(']', at);
    if (end == std::string::npos) end = line.size();
    while (end > at && isBlank(line[end - 1])) --end;
    if (end > at) current.name.assign(line, at, end - at);
}

// "key = value": no blank inside the key, blanks around "=" and before the value are skipped,
// trailing control bytes of the value dropped. A line without "=" or without value is ignored.
void readKeyLine(const std::string& line, std::size_t at, IniSection& current) {
    std::size_t end = at;
    while (end < line.size() && !isBlank(line[end]) && line[end] != '=') ++end;
    std::size_t next = skipBlanks(line, end);
    if (next >= line.size() || line[next] != '=') return;
    next = skipBlanks(line, next + 1);
    if (next >= line.size()) return;
    std::string value = line.substr(next);
    trimTrailingControlBytes(value);
    // Only control bytes after "=" are no value either: "k=" is what they would write back as.
    if (!value.empty()) current.pairs.emplace_back(line.substr(at, end - at), std::move(value));
}

void keepIfItHasKeys(IniDocument& document, IniSection& current) {
    if (current.pairs.empty()) return;
    document.sections.push_back(current);
    current.pairs.clear();
}

} // namespace

void loadIni(IniDocument& document, LineStream& lines) {
    IniSection current;  // keys before any header belong to the section with the empty name
    std::string line;
    while (lines.next(line)) {
        const std::size_t at = skipBlanks(line, 0);
        if (at >= line.size() || line[at] == ';') continue;
        if (line[at] == '[') {
            keepIfItHasKeys(document, current);
            readHeader(line, at, current);
        } else {
            readKeyLine(line, at, current);
        }
    }
    keepIfItHasKeys(document, current);
}

std::string writeIni(const IniDocument& document) {
    std::string text;
    for (const IniSection& section : document.sections) {
        text += "[" + section.name + "]\r\n";
        for (const auto& [key, value] : section.pairs) text += key + "=" + value + "\r\n";
    }
    return text;
}

IniSection* findSection(IniDocument& document, const std::string& name) {
    for (IniSection& section : document.sections)
        if (sameName(section.name, name)) return &section;
    return nullptr;
}

const std::string* findValue(const IniSection& section, const std::string& key) {
    for (const auto& pair : section.pairs)
        if (sameName(pair.first, key)) return &pair.second;
    return nullptr;
}

void putIni(IniDocument& document, const std::string& section, const std::string& key, const std::string& value) {
    IniSection* found = findSection(document, section);
    if (key.empty()) {
        if (!found) return;
        removeByLast(document.sections, *found);
        document.dirty = true;
        return;
    }
    if (!found) {
        document.sections.push_back({section, {}});
        found = &document.sections.back();
    }
    document.dirty = true;
    for (auto& pair : found->pairs) {
        if (!sameName(pair.first, key)) continue;
        if (!value.empty()) {
            pair.second = value;
        } else {
            removeByLast(found->pairs, pair);
        }
        return;
    }
    found->pairs.emplace_back(key, value);
}

} // namespace tarvoke
