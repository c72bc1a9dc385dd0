// The object commands: loading a model or scene file into a slot of the object table, saving a
// slot's first mesh as a binary .ddd file.
#include <fstream>
#include <iterator>
#include "files/ArchiveSlot.h"
#include "graphics3d/Kestrel3D.h"
#include "graphics3d/ModelFiles.h"
#include "platform/Files.h"
#include "tarvoke/core.h"
#include "tarvoke/graphics3d.h"

namespace tarvoke {
namespace {

constexpr std::uint32_t longestFileName = 1023;

ObjectSlot* slotFor(NumValue id) {
    const int index = toInt(id);
    return kestrel3D && isObjectId(index) ? &kestrel3D->objects[std::size_t(index)] : nullptr;
}

void logFailure(ModelStatus status, const std::string& path) {
    if (status == ModelStatus::WrongVersion) appendErrorLog("Wrong .ddd version.");
    appendErrorLog(status == ModelStatus::OutOfMemory ? "# malloc error" : "# read error");
    appendErrorLog(path.c_str());
}

// A model's meshes are built once loaded: triangles, vertex-colour flag, bounding spheres.
ModelStatus buildMesh(MeshObjectX& mesh) {
    if (!mesh.build()) return ModelStatus::OutOfMemory;
    computeBoundingSpheres(mesh);
    return ModelStatus::Loaded;
}

} // namespace

bool readModelBytes(const std::string& path, std::vector<std::uint8_t>& bytes) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file) return false;
    const std::streamoff size = file.tellg();
    if (size < 0) return false;
    bytes.resize(std::size_t(size));
    file.seekg(0);
    return bool(file.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(size)));
}

bool loadMeshBytes(const std::string& path, const std::vector<std::uint8_t>& bytes, MeshObjectX& mesh) {
    ModelStatus status = readModel(bytes.data(), bytes.size(), mesh);
    if (status == ModelStatus::Loaded) status = buildMesh(mesh);
    if (status == ModelStatus::Loaded) return true;
    mesh.clear();
    logFailure(status, path);
    return false;
}

bool loadMeshFile(const std::string& path, MeshObjectX& mesh) {
    mesh.clear();
    std::vector<std::uint8_t> bytes;
    return readModelBytes(path, bytes) && loadMeshBytes(path, bytes, mesh);
}

void loadObject(const StrValue& fileName, NumValue id) {
    ObjectSlot* slot = slotFor(id);
    if (!slot || fileName.length() > longestFileName) return;
    StrValue path;
    if (!resolveFile(generalArchive, fileName, path)) return;
    slot->clear();
    // Read whole at once: the next lookup (a scene's textures and meshes) deletes a file
    // unpacked from the archive.
    std::vector<std::uint8_t> bytes;
    if (!readModelBytes(path.cStr(), bytes)) return;
    if (modelFileKind(bytes.data(), bytes.size()) == ModelFileKind::Scene) {
        loadSceneBytes(*slot, fileName.cStr(), bytes);
        slot->isScene = true;
        slot->loaded = true;
        return;
    }
    slot->meshes.emplace_back();
    if (loadMeshBytes(path.cStr(), bytes, slot->meshes.back())) {
        slot->loaded = true;
    } else {
        slot->clear();
    }
}

NumValue saveObject(const StrValue& fileName, NumValue id) {
    const ObjectSlot* slot = slotFor(id);
    if (!slot || fileName.length() == 0 || fileName.length() > longestFileName) return 0;
    // An empty slot saves as a model without frames, which loads back as the same empty slot.
    const MeshObject noMesh;
    const MeshObject& mesh = slot->meshes.empty() ? noMesh : static_cast<const MeshObject&>(slot->meshes[0]);
    const std::vector<std::uint8_t> bytes = writeBinaryModel(mesh);
    return platform::replaceFile(platform::nativePath(fileName.cStr()), bytes.data(), bytes.size()) ? 1 : 0;
}

} // namespace tarvoke
