// Reading Wavefront OBJ models (and their MTL materials) into the corners of separate triangles,
// ready to be quantised into a .ddd frame.
#pragma once
#include <stdexcept>
#include <string>
#include <vector>
#include "graphics3d/MeshObject.h"

namespace tarvoke::ddd {

// A problem with the input, reported as one line ("FILE:LINE: what").
class ObjError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct ObjModel {
    std::vector<ExpandedVertex> corners;  // three per triangle; v already in the engine's sense
    std::string texture;                  // the picture of the first textured material used; "" none
    std::vector<std::string> warnings;    // things converted with a loss, one line each
};

// Positions, normals (the face's own where a corner gives none), texture coordinates,
// triangles and polygons (split into fans of triangles), and per face the material's diffuse
// colour, or white where the material has a texture. Throws ObjError.
ObjModel readObjFile(const std::string& path);

} // namespace tarvoke::ddd
