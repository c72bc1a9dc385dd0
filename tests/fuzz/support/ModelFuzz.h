// What both .ddd fuzz targets do with a model that read: build its triangles and bounding
// spheres, save it as binary, and stop the run when the saved bytes do not read back.
#pragma once
#include <cstdlib>
#include "graphics3d/ModelFiles.h"

namespace fuzz {

inline void checkModelSavesAndReadsBack(tarvoke::MeshObject& mesh) {
    using namespace tarvoke;
    if (!buildTriangles(mesh)) return;
    computeBoundingSpheres(mesh);
    const std::vector<std::uint8_t> saved = writeBinaryModel(mesh);
    MeshObject again;
    if (readBinaryModel(saved.data(), saved.size(), again) != ModelStatus::Loaded) std::abort();
}

} // namespace fuzz
