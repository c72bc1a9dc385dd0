// The INI reading of scene files. Scenes are read with the same rules as the games' INI files
// but into a document of their own, so loading one never disturbs the game's open INI file.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tarvoke {

struct SceneIniSection {
    std::string name;                                        // as written; "" before any header
    std::vector<std::pair<std::string, std::string>> keys;   // key and value, in file order
};

// Sections in file order; sections without keys are dropped, keys with empty values skipped.
std::vector<SceneIniSection> parseSceneIni(const std::uint8_t* bytes, std::size_t size);

} // namespace tarvoke
