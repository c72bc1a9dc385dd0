// The scene's bookkeeping without a window: key-frame choice, the transform stack and its
// limits, arrays of the wrong shape, normals per frame, silhouettes, triangle queries.
#include <gtest/gtest.h>
#include <cmath>
#include <functional>
#include "graphics3d/Graphics3D.h"
#include "graphics3d/Kestrel3D.h"
#include "graphics3d/ModelBytes.h"
#include "graphics3d/NormalTable.h"
#include "graphics3d/ObjectDrawing.h"
#include "graphics3d/Transforms.h"
#include "support/TestSupport.h"

namespace tarvoke {
namespace {

class SceneData : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(startGraphics3D()); }
    void TearDown() override { stopGraphics3D(); }

    MeshObjectX& load(int id, const test::Bytes& bytes) {
        const std::string path = temp.file("model.ddd");
        test::writeFile(path, std::string(bytes.begin(), bytes.end()));
        loadObject(path.c_str(), id);
        return kestrel3D->objects[std::size_t(id)].meshes.at(0);
    }
    test::ScopedTempDir temp;
};

// Ends the program in a child in debug mode; the error log's end record names the error.
void expectRuntimeError(int code, const std::function<void()>& statement) {
    test::ScopedTempDir temp;
    projectSettings.debugMode = 1;
    EXPECT_EXIT(statement(), testing::ExitedWithCode(0), "");
    projectSettings.debugMode = 0;
    const std::string log = test::readFile(temp.file("ErrorLog.txt"));
    EXPECT_EQ(log.substr(0, log.find("\r\n", 14)), "-End On Line\r\n" + std::to_string(code)) << log;
}

TEST(KeyFrames, RangesAndBlendsPickTheirFrames) {
    struct Case {
        double a, b, t;
        bool range;
        int frames;
        FrameChoice expected;
    } cases[] = {
        {0, 4, 0.5, true, 5, {2, 3, 1.0f}},     // position 2.0: frame 2 exactly
        {0, 4, 1.25, true, 5, {1, 2, 1.0f}},    // t wraps to 0.25: position 1.0
        {4, 0, 0.3, true, 5, {3, 2, 0.8f}},     // position 2.8: 0.8 of the way to frame 3
        {2, 2, 0.7, true, 5, {2, 2, 0.0f}},
        {3, 1, 0.25, false, 5, {1, 3, 0.25f}},  // frame 3 blended a quarter towards frame 1
        {9, 9, 0.0, false, 5, {4, 4, 0.0f}},    // past the last frame: the last
        {-2, 0, std::nan(""), true, 5, {0, 0, 1.0f}},  // frames -2 and -1, kept to 0
    };
    for (const Case& c : cases) {
        const FrameChoice got = clampFrames(chooseFrames(c.a, c.b, c.t, c.range), c.frames);
        EXPECT_EQ(got.first, c.expected.first) << c.a << " " << c.b << " " << c.t;
        EXPECT_EQ(got.second, c.expected.second) << c.a << " " << c.b << " " << c.t;
        EXPECT_NEAR(got.weight, c.expected.weight, 1e-6) << c.a << " " << c.b << " " << c.t;
    }
}

Vector3 placed(Vector3 p) { return transformPoint(currentModelMatrix(), p); }

void expectNear(Vector3 got, Vector3 expected) {
    EXPECT_NEAR(got.x, expected.x, 1e-4);
    EXPECT_NEAR(got.y, expected.y, 1e-4);
    EXPECT_NEAR(got.z, expected.z, 1e-4);
}

// Scale first, then the rotations (the first given last), then the translation, under the parent.
TEST_F(SceneData, ALevelScalesRotatesAndTranslatesOnTopOfItsParent) {
    translateTransform(10, 0, 0);
    pushTransform();
    scaleTransform(2, 2, 2);
    translateTransform(0, 1, 0);  // keeps the scale
    rotateTransform(90, 0, 0, 1);
    rotateTransform(90, 0, 1, 0);
    expectNear(placed({1, 0, 0}), {10, 3, 0});  // (2,0,0), about z to (0,2,0), about y the same, up 1
    rotateTransform(90, 0, 0, 0);  // no axis: ignored
    expectNear(placed({1, 0, 0}), {10, 3, 0});
    rotateTransform(90, 1, 0, 0);  // after a computation: on top of the computed matrix
    expectNear(placed({0, 1, 0}), {12, 1, 0});  // (0,0,1), scaled (0,0,2), about y (2,0,0), moved
    popTransform();
    expectNear(placed({0, 0, 0}), {10, 0, 0});
    popTransform();  // at level 0: back to the identity
    expectNear(placed({1, 2, 3}), {1, 2, 3});
}

TEST_F(SceneData, PushesRotationsAndMatricesPastTheirRoomAreIgnored) {
    for (int i = 0; i < 20; ++i) pushTransform();
    EXPECT_EQ(kestrel3D->scene.depth, 15);
    for (int i = 0; i < 17; ++i) rotateTransform(10, 0, 0, 1);
    expectNear(placed({1, 0, 0}), {std::cos(160 * 3.14159265f / 180), std::sin(160 * 3.14159265f / 180), 0});
    NumArray shift;
    fillArray(shift, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1, 0, 0, 1});  // one along x
    translateTransform(0, 0, 0);
    for (int i = 0; i < 17; ++i) multiplyTransform(shift);
    expectNear(placed({0, 0, 0}), {16, 0, 0});
    for (int i = 0; i < 20; ++i) popTransform();
    EXPECT_EQ(kestrel3D->scene.depth, 0);
}

TEST_F(SceneData, ArraysOfTheWrongShapeEndTheProgramWithError9) {
    GTEST_FLAG_SET(death_test_style, "fast");  // the child writes into this test's folder
    NumArray fifteen, square, empty;
    dimArray(fifteen, 15);
    dimArray(square, 4, 4);
    expectRuntimeError(9, [&] { multiplyTransform(fifteen); });
    expectRuntimeError(9, [&] { multiplyTransform(square); });
    expectRuntimeError(9, [&] { setCelShadingRamp(empty); });
}

// Frame 0 lies in the z = 0 plane, frame 1 stands in the y = 0 plane: each frame's normal is
// its own face's, not a sum with the other frame's.
TEST_F(SceneData, EachFramesNormalsComeFromItsOwnFaces) {
    test::ModelSpec spec;
    spec.palette = {0x00FFFFFF};
    spec.pairs.assign(3, {0.0f, 0.0f});
    test::FrameSpec flat, standing;
    flat.vertices = {{0, 0, 0, 0, 0}, {0, 9, 0, 0, 0}, {9, 0, 0, 0, 0}};
    standing.vertices = {{0, 0, 0, 0, 0}, {0, 0, 9, 0, 0}, {9, 0, 0, 0, 0}};
    spec.frames = {flat, standing};
    MeshObjectX& mesh = load(1, test::binaryModel(spec));
    mesh.normalsValid = false;
    ASSERT_TRUE(prepareMesh(mesh, PreparationOptions{}));
    EXPECT_EQ(mesh.frames[0].compact[0].normalIndex, nearestNormalIndex({0, 0, 1}));
    EXPECT_EQ(mesh.frames[1].compact[0].normalIndex, nearestNormalIndex({0, -1, 0}));
    EXPECT_FALSE(prepareMesh(mesh, PreparationOptions{}));  // valid now: nothing to do
}

// A clockwise cube from y = 2 to 3 and a light level with its middle, 5 units in front: the top
// faces away from the light although the light lies above the model's origin.
TEST_F(SceneData, TrianglesFaceAPointLightAsSeenFromThemselves) {
    test::Bytes bytes = test::binaryCube(true);
    test::set32(bytes, 24 + 6 * 4 + 36 * 8 + 8, 0xC3FF0000u);  // frame offset y = -510: y runs from 2 to 3
    MeshObjectX& mesh = load(1, bytes);
    ASSERT_GE(mesh.frames[0].triangles[0].position.y, 2.0f);
    buildShadowEdges(mesh);
    for (const ShadowEdge& edge : mesh.shadowEdges) EXPECT_GE(edge.neighbour, 0);  // a closed surface
    std::vector<bool> facing;
    markSilhouettes(mesh, mesh.frames[0], {0.5f, 2.5f, 5.0f}, facing);
    ASSERT_EQ(facing.size(), 12u);
    const bool expected[6] = {false, true, false, false, false, false};  // only the face at z = 1
    for (std::size_t t = 0; t < 12; ++t) EXPECT_EQ(facing[t], expected[t / 2]) << "face " << t / 2;
    int silhouettes = 0;
    for (const ShadowEdge& edge : mesh.shadowEdges) silhouettes += edge.silhouette;
    EXPECT_EQ(silhouettes, 4);  // the front face's outline
}

TEST_F(SceneData, GetTriangleFillsCornersOfTheNthTriangleOverAllMeshes) {
    load(1, test::binaryCube());
    EXPECT_EQ(getTriangleCount(1), 12);
    EXPECT_EQ(getTriangleCount(2), 0);
    NumArray corners;
    getTriangle(1, 0, 2, corners);  // face 1 (z = 1, green), corners (0,0,1) (1,0,1) (1,1,1)
    ASSERT_EQ(corners.shape().size1, 3);
    ASSERT_EQ(corners.shape().size2, 9);
    const NumValue second[9] = {1, 0, 1, 1, -0.0, 0x00FF00, -0.525731, 0, 0.850651};
    for (int component = 0; component < 9; ++component) EXPECT_NEAR(corners(1, component), second[component], 1e-5);
    getTriangle(1, 0, 12, corners);  // past the last: left as dimensioned
    EXPECT_EQ(corners(0, 0), 0);
}

} // namespace
} // namespace tarvoke
