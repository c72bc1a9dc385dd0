// Scene files: an INI file (first line ";DDW") naming textures and meshes relative to its own
// folder:
//   [textures] count=T, 1..T = picture files (texture k goes to list position k - 1)
//   [objects]  count=N, 1..N = model files (mesh k - 1), "<k>ta" / "<k>tb" = the mesh's first
//              and second texture numbers (rounded; 1 or more minus 1; negative: none)
// The INI text is read with the engine's INI rules (lines of at most 1024 bytes, ";" comments,
// "[name]" headers, "key = value" lines, names matched ignoring letter case, the first section
// of a name and the first key of a name win).
#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include "files/ArchiveSlot.h"
#include "graphics2d/SpriteStore.h"
#include "graphics3d/ObjectTable.h"
#include "graphics3d/SceneFiles.h"
#include "tarvoke/StrValue.h"

namespace tarvoke {
namespace {

// A scene may list at most this many textures and meshes; keys beyond it are ignored, so a
// count in a small file never makes a huge table, and a file named again and again is loaded
// at most this many times.
constexpr int largestSceneList = 4096;
constexpr std::size_t iniLineBytes = 1024;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string lowerCase(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return text;
}

// Lines end at LF (a CR before it is dropped) or after 1024 bytes; a NUL ends a line's text.
std::vector<std::string> iniLines(const std::uint8_t* bytes, std::size_t size) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < size) {
        const std::size_t limit = std::min(size, at + iniLineBytes);
        std::size_t end = at;
        while (end < limit && bytes[end] != '\n') ++end;
        std::string line(reinterpret_cast<const char*>(bytes + at), end - at);
        at = end < limit ? end + 1 : end;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        line.resize(std::min(line.size(), line.find('\0')));
        lines.push_back(std::move(line));
    }
    return lines;
}

std::size_t nameEnd(const std::string& line, std::size_t at) {
    while (at < line.size() && !isBlank(line[at]) && line[at] != '=') ++at;
    return at;
}

void addKeyLine(const std::string& line, std::size_t at, SceneIniSection& section) {
    const std::size_t keyEnd = nameEnd(line, at);
    std::size_t equals = keyEnd;
    while (equals < line.size() && isBlank(line[equals])) ++equals;
    if (equals >= line.size() || line[equals] != '=') return;
    std::size_t valueStart = equals + 1;
    while (valueStart < line.size() && isBlank(line[valueStart])) ++valueStart;
    std::size_t valueEnd = line.size();
    // Trailing control characters, and bytes from 128 up (negative as signed chars), go.
    while (valueEnd > valueStart && static_cast<signed char>(line[valueEnd - 1]) <= 31) --valueEnd;
    if (valueEnd == valueStart) return;
    section.keys.emplace_back(line.substr(at, keyEnd - at), line.substr(valueStart, valueEnd - valueStart));
}

} // namespace

std::vector<SceneIniSection> parseSceneIni(const std::uint8_t* bytes, std::size_t size) {
    std::vector<SceneIniSection> sections;
    SceneIniSection current;
    for (const std::string& line : iniLines(bytes, size)) {
        std::size_t at = 0;
        while (at < line.size() && isBlank(line[at])) ++at;
        if (at == line.size() || line[at] == ';') continue;
        if (line[at] != '[') {
            addKeyLine(line, at, current);
            continue;
        }
        // A section is kept only once it has a key; a header alone leaves the name as it was
        // when it names nothing.
        if (!current.keys.empty()) {
            sections.push_back(current);
            current.keys.clear();
        }
        ++at;
        while (at < line.size() && isBlank(line[at])) ++at;
        std::size_t end = nameEnd(line, at);
        if (end > at && line[end - 1] == ']') --end;
        if (end > at) current.name = line.substr(at, end - at);
    }
    if (!current.keys.empty()) sections.push_back(current);
    return sections;
}

namespace {

// The first section of the name, its keys by lower-case name, the first of each name kept.
class SceneSection {
public:
    SceneSection(const std::vector<SceneIniSection>& sections, const std::string& name) {
        for (const SceneIniSection& section : sections) {
            if (lowerCase(section.name) != name) continue;
            for (const auto& [key, value] : section.keys) values_.emplace(lowerCase(key), value);
            return;
        }
    }
    // The value, or "NO_DATA" as the INI lookup answers for a missing key.
    std::string get(const std::string& key) const {
        const auto found = values_.find(lowerCase(key));
        return found == values_.end() ? "NO_DATA" : found->second;
    }
    // Entries 1..count are listed; the list reaches the highest key present (and no further
    // than largestSceneList).
    int listLength() const {
        const int count = std::min(toInt(toNumber(get("count").c_str())), largestSceneList);
        int longest = 0;
        for (const auto& entry : values_) {
            const std::string& key = entry.first;
            if (key.empty() || key.size() > 4 || key[0] == '0' ||
                !std::all_of(key.begin(), key.end(), [](char c) { return c >= '0' && c <= '9'; }))
                continue;
            const int number = std::stoi(key);
            if (number <= count) longest = std::max(longest, number);
        }
        return longest;
    }

private:
    std::map<std::string, std::string> values_;
};

// Rounded to the nearest integer; 1 or more counts from 1, 0 is the first texture too, negative
// (or past the list) is none.
int texturePosition(const std::string& value, std::size_t listLength) {
    const double rounded = std::nearbyint(toNumber(value.c_str()));
    if (!(rounded >= 0.0) || rounded > double(listLength)) return -1;
    const int number = int(rounded);
    const int position = number >= 1 ? number - 1 : 0;
    return std::size_t(position) < listLength ? position : -1;
}

// The folder of the scene file as the game named it, up to and including the last separator.
std::string folderOf(const std::string& sceneName) {
    const std::size_t separator = sceneName.find_last_of("/\\");
    return separator == std::string::npos ? std::string() : sceneName.substr(0, separator + 1);
}

void loadSceneTextures(ObjectSlot& slot, const SceneSection& textures, const std::string& folder) {
    slot.textures.resize(std::size_t(textures.listLength()));
    for (std::size_t k = 1; k <= slot.textures.size(); ++k) {
        const std::string name = textures.get(std::to_string(k));
        StrValue path;
        if (name == "NO_DATA" || !resolveFile(generalArchive, StrValue((folder + name).c_str()), path)) continue;
        ObjectTexture& texture = slot.textures[k - 1];
        loadObjectTextureFile(path.cStr(), texture.texture, texture.mipmapped);
    }
}

void loadSceneMeshes(ObjectSlot& slot, const SceneSection& objects, const std::string& folder) {
    slot.meshes.resize(std::size_t(objects.listLength()));
    for (std::size_t k = 1; k <= slot.meshes.size(); ++k) {
        MeshObjectX& mesh = slot.meshes[k - 1];
        const std::string number = std::to_string(k);
        const std::string name = objects.get(number);
        StrValue path;
        if (name != "NO_DATA" && resolveFile(generalArchive, StrValue((folder + name).c_str()), path))
            loadMeshFile(path.cStr(), mesh);
        // A missing "ta" or "tb" reads as 0, the first texture, as the INI lookup's "NO_DATA" does.
        mesh.firstTexture = texturePosition(objects.get(number + "ta"), slot.textures.size());
        mesh.secondTexture = texturePosition(objects.get(number + "tb"), slot.textures.size());
    }
}

} // namespace

void loadSceneBytes(ObjectSlot& slot, const std::string& sceneName, const std::vector<std::uint8_t>& bytes) {
    const std::vector<SceneIniSection> sections = parseSceneIni(bytes.data(), bytes.size());
    const std::string folder = folderOf(sceneName);
    loadSceneTextures(slot, SceneSection(sections, "textures"), folder);
    loadSceneMeshes(slot, SceneSection(sections, "objects"), folder);
}

} // namespace tarvoke
