// tarvoke-ddd: converts Wavefront OBJ models into the engine's binary .ddd format and describes
// model files. It reads and writes through the engine's own model code, so what it writes is
// exactly what the engine loads.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>
#include "ObjReader.h"
#include "graphics3d/ModelFiles.h"
#include "platform/Files.h"

namespace tarvoke::ddd {
namespace {

const char* const usageText =
    "usage: tarvoke-ddd convert MODEL.obj OUT.ddd   convert a Wavefront OBJ model to a binary .ddd model\n"
    "       tarvoke-ddd info FILE                   frames, vertices, primitives and bounds of a model\n";

class UsageError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::string inQuotes(const std::string& text) { return "'" + text + "'"; }

std::vector<std::uint8_t> readBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw ObjError("cannot read " + inQuotes(path));
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (file.bad()) throw ObjError("cannot read " + inQuotes(path));
    return bytes;
}

void checkStatus(ModelStatus status, const std::string& path) {
    switch (status) {
    case ModelStatus::Loaded: return;
    case ModelStatus::WrongVersion: throw ObjError(inQuotes(path) + ": a .ddd version this engine does not read");
    case ModelStatus::ReadError: throw ObjError(inQuotes(path) + ": damaged, or not a model file");
    case ModelStatus::OutOfMemory: throw ObjError(inQuotes(path) + ": out of memory");
    }
}

int convert(const std::string& objPath, const std::string& outPath) {
    const ObjModel model = readObjFile(objPath);
    MeshObject mesh;
    Frame frame;
    const ModelStatus status = quantiseFrame(mesh, frame, model.corners.data(), model.corners.size(), true);
    if (status == ModelStatus::ReadError) throw ObjError(inQuotes(objPath) + ": more than 256 different colours");
    checkStatus(status, objPath);
    mesh.frames.append(std::move(frame));
    const std::vector<std::uint8_t> bytes = writeBinaryModel(mesh);
    if (!platform::replaceFile(outPath, bytes.data(), bytes.size())) throw ObjError("cannot write " + inQuotes(outPath));

    std::vector<std::string> warnings = model.warnings;
    warnings.erase(std::unique(warnings.begin(), warnings.end()), warnings.end());
    for (const std::string& warning : warnings) std::cerr << "tarvoke-ddd: warning: " << warning << '\n';
    std::cout << outPath << ": " << model.corners.size() / 3 << " triangles, " << mesh.palette.count()
              << (mesh.palette.count() == 1 ? " colour\n" : " colours\n");
    if (!model.texture.empty())
        std::cout << "texture: " << model.texture << " (load it as a sprite and give it to setObjectTexture)\n";
    return 0;
}

std::string number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", double(value));
    return text;
}

void printFrameBounds(const MeshObject& mesh, std::size_t index) {
    const Frame& frame = mesh.frames[index];
    float low[3] = {0, 0, 0}, high[3] = {0, 0, 0};
    bool any = false;
    for (std::size_t k = 0; k < frame.compact.count(); ++k) {
        const ExpandedVertex vertex = decodeVertex(mesh, frame, k);
        if (isMarker(vertex.rawColour)) continue;
        const float at[3] = {vertex.position.x, vertex.position.y, vertex.position.z};
        for (int axis = 0; axis < 3; ++axis) {
            low[axis] = any ? std::min(low[axis], at[axis]) : at[axis];
            high[axis] = any ? std::max(high[axis], at[axis]) : at[axis];
        }
        any = true;
    }
    std::cout << "frame " << index << ": " << frame.triangles.count() / 3 << " triangles";
    if (any)
        std::cout << ", bounds x " << number(low[0]) << " .. " << number(high[0]) << ", y " << number(low[1])
                  << " .. " << number(high[1]) << ", z " << number(low[2]) << " .. " << number(high[2]);
    std::cout << '\n';
}

int info(const std::string& path) {
    const std::vector<std::uint8_t> bytes = readBytes(path);
    const ModelFileKind kind = modelFileKind(bytes.data(), bytes.size());
    if (kind == ModelFileKind::Scene) {
        std::cout << path << ": scene file (run info on the model files it names)\n";
        return 0;
    }
    MeshObject mesh;
    checkStatus(readModel(bytes.data(), bytes.size(), mesh), path);
    if (!buildTriangles(mesh)) checkStatus(ModelStatus::OutOfMemory, path);

    std::size_t markers[3] = {0, 0, 0};  // fans, strips, triangle lists
    const std::size_t vertices = mesh.frames.empty() ? 0 : mesh.frames[0].compact.count();
    if (!mesh.frames.empty())
        for (const CompactVertex& vertex : mesh.frames[0].compact) {
            const std::uint32_t value = mesh.paletteValue(vertex.colourIndex);
            if (isMarker(value)) ++markers[value - fanMarker];
        }
    std::cout << path << ": " << (kind == ModelFileKind::Binary ? "binary" : "text") << " .ddd model\n"
              << "frames: " << mesh.frames.count() << '\n'
              << "vertices: " << vertices << " per frame (" << markers[0] + markers[1] + markers[2] << " markers)\n"
              << "primitives: " << (mesh.frames.empty() ? 0 : mesh.frames[0].triangles.count() / 3)
              << " triangles per frame (markers: " << markers[2] << " triangle lists, " << markers[1] << " strips, "
              << markers[0] << " fans)\n"
              << "colours: " << mesh.palette.count() << (mesh.hasVertexColours ? " (vertex colours)" : " (white)")
              << "\ntexture pairs: " << mesh.textureU.count() << '\n';
    for (std::size_t index = 0; index < mesh.frames.count(); ++index) printFrameBounds(mesh, index);
    return 0;
}

int run(const std::vector<std::string>& arguments) {
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "help")) {
        std::cout << usageText;
        return 0;
    }
    if (arguments.size() == 3 && arguments[0] == "convert") return convert(arguments[1], arguments[2]);
    if (arguments.size() == 2 && arguments[0] == "info") return info(arguments[1]);
    if (arguments.empty()) throw UsageError("no command given");
    if (arguments[0] != "convert" && arguments[0] != "info") throw UsageError("unknown command " + inQuotes(arguments[0]));
    throw UsageError("wrong number of arguments for " + arguments[0]);
}

} // namespace
} // namespace tarvoke::ddd

int main(int argc, char** argv) {
    using namespace tarvoke::ddd;
    try {
        return run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const UsageError& error) {
        std::cerr << "tarvoke-ddd: " << error.what() << '\n' << usageText;
        return 2;
    } catch (const std::exception& error) {
        std::cerr << "tarvoke-ddd: " << error.what() << '\n';
        return 1;
    }
}
