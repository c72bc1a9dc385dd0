// The binary .ddd reader on arbitrary bytes, then everything a loaded model goes through: the
// triangle build, the bounding spheres and saving it again (which must give a file that reads).
#include <cstddef>
#include <cstdint>
#include "graphics3d/ModelFiles.h"
#include "support/ModelFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarvoke;
    MeshObject mesh;
    if (readBinaryModel(data, size, mesh, size % 2 == 0) != ModelStatus::Loaded) return 0;
    fuzz::checkModelSavesAndReadsBack(mesh);
    return 0;
}
