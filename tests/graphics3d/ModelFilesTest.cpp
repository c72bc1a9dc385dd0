// The model readers and writer on files built in the tests: marker rules, decoding, key frames,
// the text variants against the binary cube, round trips, and damaged files of every kind.
#include <gtest/gtest.h>
#include <cmath>
#include <set>
#include <sstream>
#include "graphics3d/ModelFiles.h"
#include "graphics3d/NormalTable.h"
#include "graphics3d/ModelBytes.h"

namespace tarvoke {
namespace {

using test::Bytes;
using test::FrameSpec;
using test::ModelSpec;

ModelStatus readBytes(const Bytes& bytes, MeshObject& mesh) {
    const ModelStatus status = readModel(bytes.data(), bytes.size(), mesh);
    if (status == ModelStatus::Loaded) {
        EXPECT_TRUE(buildTriangles(mesh));
    }
    return status;
}

// Palette 0 white, then the three markers; layout: '.' a vertex, 'T' 'S' 'F' markers. Vertex k
// lies at x = k, so the triangles can be read back as vertex positions.
Bytes markerModel(const std::string& layout) {
    ModelSpec spec;
    spec.palette = {0x00FFFFFF, 0xFFFFFFFF, 0xFFFFFFFE, 0xFFFFFFFD, 0xFFFFFFFC};  // all drawn white
    FrameSpec frame;
    for (std::size_t k = 0; k < layout.size(); ++k) {
        const std::size_t colour = std::string(".TSF").find(layout[k]);
        frame.vertices.push_back({std::uint8_t(k), 0, 0, 5, std::uint8_t(colour)});
    }
    spec.frames.push_back(frame);
    return test::binaryModel(spec);
}

std::string triangleList(const Frame& frame) {
    std::ostringstream out;
    for (std::size_t i = 0; i < frame.triangles.count(); ++i)
        out << (i % 3 == 0 && i ? ", " : i % 3 ? " " : "") << frame.triangles[i].position.x;
    return out.str();
}

TEST(NormalTable, HoldsTheGeodesicSphereOfUnitNormals) {
    EXPECT_FLOAT_EQ(normalTable[0].x, -0.525731f);
    EXPECT_FLOAT_EQ(normalTable[1].y, 0.238856f);
    std::set<std::array<long, 3>> entries;  // in millionths
    for (const Vector3& n : normalTable) {
        EXPECT_NEAR(n.x * n.x + n.y * n.y + n.z * n.z, 1.0f, 2e-6f);
        entries.insert({std::lround(n.x * 1e6f), std::lround(n.y * 1e6f), std::lround(n.z * 1e6f)});
    }
    EXPECT_EQ(entries.size(), normalTableSize);
    // A mistyped entry breaks the table's symmetry: every mirror image and every rotation of the
    // axes of an entry is an entry too.
    for (const auto& [x, y, z] : entries) {
        EXPECT_TRUE(entries.count({-x, y, z}) && entries.count({x, -y, z}) && entries.count({x, y, -z}))
            << x << " " << y << " " << z;
        EXPECT_TRUE(entries.count({y, z, x})) << x << " " << y << " " << z;
    }
    EXPECT_EQ(nearestNormalIndex({0, 0, 0}), 0);
    EXPECT_EQ(nearestNormalIndex({0, 0, 7}), 5);  // (0, 0, 1) is entry 5
    EXPECT_EQ(nearestNormalIndex(normalTable[97]), 97);
}

TEST(GrowableArray, GrowsByTheRuleAndKeepsItsElements) {
    struct Case {
        std::size_t step, minimum, asked, capacity;
    } cases[] = {{128, 512, 1, 512}, {128, 512, 512, 512}, {128, 512, 513, 640}, {128, 512, 1000, 1024},
                 {1, 1, 1, 1},       {1, 1, 7, 8},         {10, 0, 25, 30}};
    for (const Case& c : cases) {
        GrowableArray<int> array;
        array.step = c.step;
        array.minimum = c.minimum;
        ASSERT_TRUE(array.reserve(c.asked));
        EXPECT_EQ(array.capacity(), c.capacity) << c.step << " " << c.minimum << " " << c.asked;
    }
    GrowableArray<GrowableArray<int>> nested;  // elements that own memory move when it grows
    for (int i = 0; i < 700; ++i) ASSERT_TRUE(nested.append(GrowableArray<int>()) && nested.back().append(i));
    EXPECT_EQ(nested.capacity(), 768u);  // 512, then 640 for the 513th, then 768
    for (int i = 0; i < 700; ++i) ASSERT_EQ(nested[std::size_t(i)][0], i);
    EXPECT_FALSE(nested.reserve(std::size_t(-1) / 2));
    EXPECT_EQ(nested.count(), 700u);
}

TEST(ModelFiles, MarkersStartTrianglesStripsAndFans) {
    struct Case {
        const char* layout;
        const char* triangles;
    } cases[] = {
        {"......", "0 1 2, 3 4 5"},
        {".....", "0 1 2"},                                  // corners left over are dropped
        {"S.....", "1 2 3, 3 2 4, 3 4 5"},                   // a strip keeps its winding
        {"F....", "1 2 3, 1 3 4"},
        {"F...S...", "1 2 3, 5 6 7"},                        // a marker resets the corners
        {"S....T...F.", "1 2 3, 3 2 4, 6 7 8"},
        {"", ""},
    };
    for (const Case& c : cases) {
        MeshObject mesh;
        ASSERT_EQ(readBytes(markerModel(c.layout), mesh), ModelStatus::Loaded) << c.layout;
        EXPECT_EQ(triangleList(mesh.frames[0]), c.triangles) << c.layout;
        EXPECT_FALSE(mesh.hasVertexColours);  // a white model is drawn without colours
    }
}

TEST(ModelFiles, VerticesDecodeIntoPositionNormalTextureAndColour) {
    ModelSpec spec;
    spec.palette = {0x00336699, 0xFFFFFFFC, 0xFFFFFFFB};
    spec.pairs = {{0.25f, 0.5f}, {1.0f, -2.0f}};  // the third vertex has no pair
    FrameSpec frame;
    frame.offset[0] = 10;
    frame.scale[0] = 0.5f;
    frame.scale[1] = 1e30f;
    frame.vertices = {{12, 0, 3, 5, 0}, {10, 0, 0, 0, 1}, {0, 0, 0, 161, 2}};
    spec.frames.push_back(frame);
    const Bytes bytes = test::binaryModel(spec);
    MeshObject mesh;
    ASSERT_EQ(readBinaryModel(bytes.data(), bytes.size(), mesh, true), ModelStatus::Loaded);
    ASSERT_TRUE(buildTriangles(mesh));
    const ExpandedVertex* v = mesh.frames[0].triangles.data();
    EXPECT_FLOAT_EQ(v[0].position.x, 1.0f);   // 0.5 x (12 - 10)
    EXPECT_FLOAT_EQ(v[0].position.y, 0.0f);   // quantised 0, offset 0: 0 whatever the scale
    EXPECT_FLOAT_EQ(v[0].position.z, 3.0f);
    EXPECT_FLOAT_EQ(v[0].normal.z, 1.0f);
    EXPECT_FLOAT_EQ(v[0].u, 0.25f);
    EXPECT_FLOAT_EQ(v[0].v, -0.5f);
    EXPECT_FLOAT_EQ(v[0].red, 0x99 / 255.0f);
    EXPECT_FLOAT_EQ(v[0].blue, 0x33 / 255.0f);
    EXPECT_EQ(v[0].rawColour, 0x00336699u);
    EXPECT_EQ(v[1].red + v[1].green + v[1].blue, 3.0f);  // 0xFFFFFFFC: white
    EXPECT_FLOAT_EQ(v[2].red, 251 / 255.0f);              // 0xFFFFFFFB: its own bytes
    EXPECT_EQ(v[2].u + v[2].v, 0.0f);
    EXPECT_FLOAT_EQ(v[2].normal.x, normalTable[161].x);
    EXPECT_TRUE(mesh.hasVertexColours);
    EXPECT_TRUE(mesh.normalsValid);
    EXPECT_FLOAT_EQ(mesh.frames[0].expanded[0].position.x, 1.0f);  // expansion on request
}

// The decoded triangles of a model, for comparing two files of the same shape.
std::vector<ExpandedVertex> trianglesOf(const Bytes& bytes, ModelStatus& status) {
    MeshObject mesh;
    status = readBytes(bytes, mesh);
    std::vector<ExpandedVertex> corners;
    if (status == ModelStatus::Loaded && !mesh.frames.empty())
        corners.assign(mesh.frames[0].triangles.begin(), mesh.frames[0].triangles.end());
    return corners;
}

TEST(ModelFiles, EveryTextVariantLoadsTheSameCubeAsTheBinaryFile) {
    ModelStatus status;
    const std::vector<ExpandedVertex> binary = trianglesOf(test::binaryCube(), status);
    ASSERT_EQ(binary.size(), 36u);
    const std::string commented = "# a cube\nDDDA 1.0 # version\n" + test::textCube("1.0").substr(9);
    for (const std::string& text : {test::textCube("1.0"), test::textCube("1.1"), commented}) {
        const std::vector<ExpandedVertex> corners = trianglesOf(test::bytesOf(text), status);
        ASSERT_EQ(status, ModelStatus::Loaded) << text;
        ASSERT_EQ(corners.size(), binary.size());
        for (std::size_t i = 0; i < corners.size(); ++i) {
            EXPECT_FLOAT_EQ(corners[i].position.x, binary[i].position.x) << i;
            EXPECT_FLOAT_EQ(corners[i].position.y, binary[i].position.y) << i;
            EXPECT_FLOAT_EQ(corners[i].position.z, binary[i].position.z) << i;
            EXPECT_EQ(corners[i].u, binary[i].u);
            EXPECT_EQ(corners[i].v, binary[i].v);
            EXPECT_EQ(corners[i].rawColour, binary[i].rawColour);
        }
        const bool normals = text.find("DDDA 1.1") != std::string::npos;
        EXPECT_EQ(corners[0].normal.z, normals ? 1.0f : normalTable[0].z);  // below 1.1 every normal is 0
    }
}

TEST(ModelFiles, DamagedBinaryFilesFailAndLeaveTheMeshClear) {
    const Bytes cube = test::binaryCube();
    const std::size_t frameAt = 24 + 6 * 4 + 36 * 8;
    auto with = [&](std::size_t at, std::uint32_t value) {
        Bytes bytes = cube;
        test::set32(bytes, at, value);
        return bytes;
    };
    auto twoFrames = [](std::uint8_t secondColour, std::size_t secondCount) {
        ModelSpec spec;
        spec.palette = {0x00FFFFFF, 0xFFFFFFFD};
        FrameSpec first, second;
        first.vertices.assign(3, {0, 0, 0, 0, 0});
        second.vertices.assign(secondCount, {0, 0, 0, 0, 0});
        second.vertices[0][4] = secondColour;
        spec.frames = {first, second};
        return test::binaryModel(spec);
    };
    auto versioned = [](double version) {
        ModelSpec spec;
        spec.version = version;
        return test::binaryModel(spec);
    };
    struct Case {
        const char* what;
        Bytes bytes;
        ModelStatus status;
    } cases[] = {
        {"version 1.0199999", versioned(1.0199999), ModelStatus::WrongVersion},
        {"version 1.03", versioned(1.03), ModelStatus::WrongVersion},
        {"negative frame count", with(12, 0xFFFFFFFF), ModelStatus::ReadError},
        {"frame count past the file", with(12, 2), ModelStatus::ReadError},
        {"palette past the file", with(16, 0x40000000), ModelStatus::ReadError},
        {"negative palette", with(16, 0x80000000), ModelStatus::ReadError},
        {"texture pairs past the file", with(20, 100000), ModelStatus::ReadError},
        {"vertex count past the file", with(frameAt, 37), ModelStatus::ReadError},
        {"huge vertex count", with(frameAt, 0x7FFFFFFF), ModelStatus::ReadError},
        {"normal index 162", with(frameAt + 28, 162u << 24), ModelStatus::ReadError},
        {"colour index outside the palette", with(frameAt + 29, 6u << 24), ModelStatus::ReadError},
        {"a frame with fewer vertices", twoFrames(0, 2), ModelStatus::ReadError},
        {"a marker where the first frame has a vertex", twoFrames(1, 3), ModelStatus::ReadError},
    };
    for (const Case& c : cases) {
        MeshObject mesh;
        EXPECT_EQ(readModel(c.bytes.data(), c.bytes.size(), mesh), c.status) << c.what;
        EXPECT_TRUE(mesh.frames.empty() && mesh.palette.empty() && mesh.textureU.empty()) << c.what;
    }
    MeshObject mesh;
    EXPECT_EQ(readBytes(twoFrames(0, 3), mesh), ModelStatus::Loaded);
    for (std::size_t size = 4; size < cube.size(); ++size)  // cut short anywhere
        ASSERT_EQ(readBinaryModel(cube.data(), size, mesh), ModelStatus::ReadError) << size;
}

TEST(ModelFiles, DamagedTextFilesFailAndLeaveTheMeshClear) {
    const std::string triangle = "DDDA 1.0\n1 0 0\n1  9 9 9 3  0 0 1 0 2 0\n";
    struct Case {
        const char* what;
        std::string text;
        ModelStatus status;
    } cases[] = {
        {"a newer version", "DDDA 1.2 0 0 0", ModelStatus::WrongVersion},
        {"no keyword", "DDD 1.0 0 0 0", ModelStatus::ReadError},
        {"a number missing at the end", triangle + "1\n3 0 0 0 1 0 0 0 1", ModelStatus::ReadError},
        {"a word for a number", triangle + "1\n3 0 0 0 1 0 0 0 1 zero", ModelStatus::ReadError},
        {"a number with junk", triangle + "1\n3 0 0 0 1 0 0 0 1 0x1", ModelStatus::ReadError},
        {"a coordinate no float holds", triangle + "1\n3 0 0 0 1 0 0 0 1 1e39", ModelStatus::ReadError},
        {"a vertex index past the frame", triangle + "1\n2 0 0 0 1 0 0", ModelStatus::ReadError},
        {"a texture pair index past the pairs", "DDDA 1.0\n1 0 0\n1 9 9 9 3 0 0 1 1 2 0\n1\n3 0 0 0 1 0 0 0 1 0",
         ModelStatus::ReadError},
        {"a negative count", "DDDA 1.0\n-1\n0 0", ModelStatus::ReadError},
        {"an absurd pair count", "DDDA 1.0\n1000000000 0 0", ModelStatus::ReadError},
        {"an absurd face count", "DDDA 1.0\n0\n2e9 1 1 1 0", ModelStatus::ReadError},
        {"an absurd corner count", "DDDA 1.0\n1 0 0\n1 0 0 0 1e8 0 0", ModelStatus::ReadError},
        {"an absurd frame count", triangle + "99999999\n3 0 0 0 1 0 0 0 1 0", ModelStatus::ReadError},
        {"an absurd vertex count", triangle + "1\n1e9 0 0 0", ModelStatus::ReadError},
    };
    for (const Case& c : cases) {
        MeshObject mesh;
        EXPECT_EQ(readModel(test::bytesOf(c.text).data(), c.text.size(), mesh), c.status) << c.what;
        EXPECT_TRUE(mesh.frames.empty() && mesh.palette.empty() && mesh.textureU.empty()) << c.what;
    }
    MeshObject mesh;
    EXPECT_EQ(readBytes(test::bytesOf(triangle + "1\n3 0 0 0 1 0 0 0 1 0"), mesh), ModelStatus::Loaded);
    EXPECT_EQ(mesh.frames[0].triangles.count(), 3u);
}

// One face of `corners` corners, all on vertex 0, in `frames` frames of one vertex each.
std::string sharedFaceModel(int corners, int frames) {
    std::string text = "DDDA 1.0\n1 0 0\n1 1 1 1 " + std::to_string(corners);
    for (int i = 0; i < corners; ++i) text += " 0 0";
    text += "\n" + std::to_string(frames) + "\n";
    for (int i = 0; i < frames; ++i) text += "1 0 0 0\n";
    return text;
}

// Faces of one corner each in `colours` colours, plus the fan marker's palette entry.
std::string colourfulModel(int colours) {
    std::string text = "DDDA 1.0\n1 0 0\n" + std::to_string(colours) + "\n";
    for (int i = 0; i < colours; ++i) text += std::to_string(i % 256) + " " + std::to_string(i / 256) + " 0 1 0 0\n";
    return text + "1\n1 0 0 0\n";
}

TEST(ModelFiles, TextModelsMayNotOutgrowTheirFileOrPalette) {
    struct Case {
        std::string text;
        ModelStatus status;
    } cases[] = {
        {sharedFaceModel(1000, 30), ModelStatus::Loaded},      // 30,000 records from 4 KB
        {sharedFaceModel(1000, 120), ModelStatus::ReadError},  // 120,000 from 5 KB
        {colourfulModel(255), ModelStatus::Loaded},            // 256 palette entries
        {colourfulModel(256), ModelStatus::ReadError},
    };
    for (const Case& c : cases) {
        MeshObject mesh;
        EXPECT_EQ(readModel(test::bytesOf(c.text).data(), c.text.size(), mesh), c.status) << c.text.size();
    }
}

} // namespace
} // namespace tarvoke
