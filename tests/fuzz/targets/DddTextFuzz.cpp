// The text .ddd reader on arbitrary bytes, then the triangle build, the bounding spheres and
// saving as binary (which must give a file that reads).
#include <cstddef>
#include <cstdint>
#include "graphics3d/ModelFiles.h"
#include "support/ModelFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarvoke;
    MeshObject mesh;
    if (readTextModel(data, size, mesh) != ModelStatus::Loaded) return 0;
    fuzz::checkModelSavesAndReadsBack(mesh);
    return 0;
}
