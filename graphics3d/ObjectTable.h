// The object table of Kestrel3D: 4224 numbered slots, each holding the meshes of one model or
// scene and the textures a scene brought with it; and the loading of model files into them.
#pragma once
#include <string>
#include <vector>
#include "graphics2d/GlTexture.h"
#include "graphics3d/MeshObjectX.h"

namespace tarvoke {

constexpr int objectSlotCount = 4224;  // object ids 0..4223

inline bool isObjectId(int id) { return id >= 0 && id < objectSlotCount; }

// One entry of a slot's texture list; both names are empty where a scene's picture was missing.
struct ObjectTexture {
    GlTexture texture;
    GlTexture mipmapped;
};

struct ObjectSlot {
    bool loaded = false;                  // holds a model (or a scene)
    bool isScene = false;                 // its meshes bind their own textures from `textures`
    std::vector<MeshObjectX> meshes;      // one for a model file, several for a scene
    std::vector<ObjectTexture> textures;  // a scene's pictures, by list position

    // Meshes, textures (deleted while the context exists) and both flags go.
    void clear() {
        meshes.clear();
        textures.clear();
        loaded = isScene = false;
    }
};

// The whole file; false when it cannot be opened or read.
bool readModelBytes(const std::string& path, std::vector<std::uint8_t>& bytes);

// Reads a binary or text model file into the mesh and builds it. A file that cannot be opened
// leaves the mesh clear silently; any other failure is written to the error log ("Wrong .ddd
// version.", "# read error" or "# malloc error", then the path) and leaves the mesh clear.
bool loadMeshFile(const std::string& path, MeshObjectX& mesh);
// The same for bytes already read from `path`.
bool loadMeshBytes(const std::string& path, const std::vector<std::uint8_t>& bytes, MeshObjectX& mesh);

// Fills the slot from a scene file's bytes: its textures and meshes, named relative to the
// folder of `sceneName` (the name the game gave) and looked up through the packed archive.
void loadSceneBytes(ObjectSlot& slot, const std::string& sceneName, const std::vector<std::uint8_t>& bytes);

} // namespace tarvoke
