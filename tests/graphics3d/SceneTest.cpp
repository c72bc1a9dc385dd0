// The 3D scene and object drawing on llvmpipe, each case a scene small enough to work out by
// hand: a camera 4 units from the unit cube's front face with a 90-degree view shows one unit
// as 60 pixels of the 640 x 480 screen.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <functional>
#include "graphics2d/GlExtensions.h"
#include "graphics3d/Graphics3D.h"
#include "graphics3d/Kestrel3D.h"
#include "graphics3d/ModelBytes.h"
#include "support/EngineTest.h"
#include "support/ScreenReadback.h"

namespace tarvoke {
namespace {

using test::Rgb;

constexpr Rgb black{0, 0, 0};
constexpr Rgb red{255, 0, 0}, green{0, 255, 0}, magenta{255, 0, 255};

Rgb at(int x, int y) { return test::colourAt(x, y); }

class Scene : public test::EngineTest {
protected:
    void SetUp() override { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); }
    void TearDown() override { end3D(); }

    void load(int id, const test::Bytes& bytes) {
        const std::string path = temp.file("model" + std::to_string(id) + ".ddd");
        test::writeFile(path, std::string(bytes.begin(), bytes.end()));
        loadObject(path.c_str(), id);
        ASSERT_TRUE(kestrel3D->objects[std::size_t(id)].loaded);
    }
    // The camera 4 units in front of the cube's front face, looking at its centre.
    void lookAtCube() {
        begin3D(1, 100, 90);
        setCamera(0.5, 0.5, 5, 0.5, 0.5, 0);
    }
    // A square of side 2 around the origin in the z = 0 plane, built in code.
    void buildSquare(int id, std::uint32_t colour) {
        startObject(id);
        for (auto [x, y] : {std::pair{-1, -1}, {1, -1}, {-1, 1}, {1, 1}}) addObjectVertex(x, y, 0, 0, 0, colour);
        endObject();
    }
    // The screen area as RGBA bytes.
    static std::vector<std::uint8_t> area() { return test::readScreenRgba(200, 120, 240, 240); }
};

// ---------------------------------------------------------------- placing and transforming

TEST_F(Scene, AUnitCubeCoversTheRectangleItsDistanceGives) {
    load(1, test::binaryCube());
    lookAtCube();
    drawObject(1, 0);
    // x 290..349 and y 210..269 (the front face, green), a pixel of tolerance at the edges.
    for (int x : {291, 320, 348}) EXPECT_EQ(at(x, 240), green) << x;
    for (int y : {211, 268}) EXPECT_EQ(at(320, y), green) << y;
    for (auto [x, y] : {std::pair{288, 240}, {351, 240}, {320, 208}, {320, 271}}) EXPECT_EQ(at(x, y), black) << x << "," << y;
}

TEST_F(Scene, ARotationByNinetyDegreesTurnsTheLeftFaceToTheCamera) {
    load(1, test::binaryCube());
    lookAtCube();
    translateTransform(0.5, 0.5, 0.5);
    rotateTransform(90, 0, 1, 0);
    pushTransform();
    translateTransform(-0.5, -0.5, -0.5);  // so the cube turns about its own centre
    drawObject(1, 0);
    EXPECT_EQ(at(320, 240), magenta);  // the face at x = 0
    EXPECT_EQ(at(288, 240), black);
}

} // namespace
} // namespace tarvoke
