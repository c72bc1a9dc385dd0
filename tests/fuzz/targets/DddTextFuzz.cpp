// The text .ddd reader on arbitrary bytes, then the triangle build, the bounding spheres and
// saving as binary (which must give a file that reads).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include "graphics3d/ModelFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarvoke;
    MeshObject mesh;
    if (readTextModel(data, size, mesh) != ModelStatus::Loaded) return 0;
    if (!buildTriangles(mesh)) return 0;
    computeBoundingSpheres(mesh);
    const std::vector<std::uint8_t> saved = writeBinaryModel(mesh);
    MeshObject again;
    if (readBinaryModel(saved.data(), saved.size(), again) != ModelStatus::Loaded) std::abort();
    return 0;
}
