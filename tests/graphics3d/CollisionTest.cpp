// Collision and picking through the commands: the unit cube (0..1 on each axis, loaded from a
// .ddd file) and a floor triangle (0,0,0) (4,0,0) (0,0,4) built in code, each placed by known
// transforms; and points projected onto a real frame and taken back.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <cmath>
#include <functional>
#include <limits>
#include "graphics3d/Kestrel3D.h"
#include "graphics3d/ModelBytes.h"
#include "support/EngineTest.h"
#include "support/ScreenReadback.h"
#include "tarvoke/graphics2d.h"

namespace tarvoke {
namespace {

constexpr int cube = 1, floorTriangle = 2, emptySlot = 7;
constexpr double hair = 1e-3, nan = std::numeric_limits<double>::quiet_NaN();

class Collision : public test::EngineTest {
protected:
    void SetUp() override {
        const std::string path = temp.file("cube.ddd");
        const test::Bytes bytes = test::binaryCube();
        test::writeFile(path, std::string(bytes.begin(), bytes.end()));
        loadObject(path.c_str(), cube);
        startObject(floorTriangle);
        for (auto [x, z] : {std::pair{0, 0}, {4, 0}, {0, 4}}) addObjectVertex(x, 0, z, 0, 0, 0xFFFFFF);
        endObject();
        ASSERT_TRUE(kestrel3D->objects[cube].loaded && kestrel3D->objects[floorTriangle].loaded);
    }
};

struct Case {
    const char* what;
    std::function<void()> place;  // transforms from the identity
    std::function<NumValue()> test;
    NumValue expected;
};

TEST_F(Collision, ShapesAgainstPlacedObjects) {
    auto none = [] {};
    auto moved = [] { translateTransform(10, 0, 0); };
    auto turned = [] {  // the cube turned a quarter about y, then 5 back: its x = 0 face at z = -5
        translateTransform(0, 0, -5);
        rotateTransform(90, 0, 1, 0);
    };
    auto doubled = [] { scaleTransform(2, 2, 2); };
    auto lowered = [] { translateTransform(0, -1, 0); };
    const Case cases[] = {
        {"sphere just touching a moved face", moved, [] { return sphereCollision(cube, 0, 0.5, 11.5 - hair, 0.5, 0.5); }, 1},
        {"a hair further", moved, [] { return sphereCollision(cube, 0, 0.5, 11.5 + hair, 0.5, 0.5); }, 0},
        {"just touching a turned face", turned, [] { return sphereCollision(cube, 0, 0.5, 0.5, 0.5, -4.5 - hair); }, 1},
        {"a hair off a turned face", turned, [] { return sphereCollision(cube, 0, 0.5, 0.5, 0.5, -4.5 + hair); }, 0},
        {"touching a doubled cube", doubled, [] { return sphereCollision(cube, 0, 0.5, 2.5 - hair, 1, 1); }, 1},
        {"a hair off a doubled cube", doubled, [] { return sphereCollision(cube, 0, 0.5, 2.5 + hair, 1, 1); }, 0},
        {"touching the lowered floor", lowered, [] { return sphereCollision(floorTriangle, 0, 0.5, 1, -0.5 - hair, 1); }, 1},
        {"a hair above it", lowered, [] { return sphereCollision(floorTriangle, 0, 0.5, 1, -0.5 + hair, 1); }, 0},
        {"touching only an edge", none, [] { return sphereCollision(floorTriangle, 0, 0.5, 2.3, 0, 2.3); }, 1},
        {"box sunk a hair into the floor", lowered, [] { return boxCollision(floorTriangle, 0, 1, -0.75 - hair, 1, 1, 0.5); }, 1},
        {"box a hair above it", lowered, [] { return boxCollision(floorTriangle, 0, 1, -0.75 + hair, 1, 1, 0.5); }, 0},
        {"box beyond the slanted edge", none, [] { return boxCollision(floorTriangle, 0, 3, 0, 3, 1, 1); }, 0},
        // Farther from the frame's centre than the radii squared and added allow, yet touching.
        {"big box on the far corner", none, [] { return boxCollision(floorTriangle, 0, 5.99, 1.99, -1.99, 4, 4); }, 1},
        {"box around the whole cube", moved, [] { return boxCollision(cube, 0, 10.5, 0.5, 0.5, 3, 3); }, 1},
        {"ray from outside", none, [] { return rayCollision(cube, 0, 0.5, 0.5, 5, 0, 0, -1); }, 4},
        {"long direction", turned, [] { return rayCollision(cube, 0, 0.5, 0.5, 0, 0, 0, -10); }, 5},
        {"tiny direction", none, [] { return rayCollision(cube, 0, 0.5, 0.5, 5, 0, 0, -1e-6); }, 4},
        {"ray from inside", none, [] { return rayCollision(cube, 0, 0.25, 0.5, 0.5, 1, 0, 0); }, 0.75},
        {"ray inside a doubled cube", doubled, [] { return rayCollision(cube, 0, 1, 1, 1, 0, -1, 0); }, 1},
        {"pointing away: the face behind", none, [] { return rayCollision(cube, 0, 0.5, 0.5, 5, 0, 0, 1); }, -4},
        {"passing beside", none, [] { return rayCollision(cube, 0, 2, 0.5, 5, 0, 0, -1); }, 0},
        {"along the floor's plane", none, [] { return rayCollision(floorTriangle, 0, -1, 0, 1, 1, 0, 0); }, 0},
    };
    for (const Case& c : cases) {
        popTransform();  // level 0 back to the identity
        c.place();
        EXPECT_NEAR(c.test(), c.expected, 1e-4) << c.what;
    }
}

TEST_F(Collision, NothingCollidesWithWhatCannotBeTested) {
    const Case cases[] = {
        {"radius 0 on the first corner", nullptr, [] { return sphereCollision(cube, 0, 0, 0, 0, 0); }, 0},
        {"negative radius", nullptr, [] { return sphereCollision(cube, 0, -1, 0.5, 0.5, 0.5); }, 0},
        {"box of width 0", nullptr, [] { return boxCollision(floorTriangle, 0, 1, 0, 1, 0, 1); }, 0},
        {"box of negative height", nullptr, [] { return boxCollision(floorTriangle, 0, 1, 0, 1, 1, -1); }, 0},
        {"direction of length 0", nullptr, [] { return rayCollision(cube, 0, 0.5, 0.5, 5, 0, 0, 0); }, 0},
        {"frame past the last", nullptr, [] { return sphereCollision(cube, 1, 1, 0.5, 0.5, 0.5); }, 0},
        {"negative frame", nullptr, [] { return rayCollision(cube, -1, 0.5, 0.5, 5, 0, 0, -1); }, 0},
        {"frame NaN", nullptr, [] { return boxCollision(cube, nan, 0.5, 0.5, 0.5, 2, 2); }, 0},
        {"empty slot", nullptr, [] { return sphereCollision(emptySlot, 0, 1, 0, 0, 0); }, 0},
        {"id past the table", nullptr, [] { return rayCollision(4224, 0, 0.5, 0.5, 5, 0, 0, -1); }, 0},
        {"centre NaN", nullptr, [] { return sphereCollision(cube, 0, 1, nan, 0.5, 0.5); }, 0},
        {"box centre NaN", nullptr, [] { return boxCollision(cube, 0, 0.5, nan, 0.5, 2, 2); }, 0},
        {"origin NaN", nullptr, [] { return rayCollision(cube, 0, 0.5, 0.5, nan, 0, 0, -1); }, 0},
        {"direction NaN", nullptr, [] { return rayCollision(cube, 0, 0.5, 0.5, 5, 0, nan, -1); }, 0},
        {"radius infinite", nullptr, [] { return sphereCollision(cube, 0, INFINITY, 0.5, 0.5, 0.5); }, 0},
        {"transform NaN", [] { scaleTransform(nan, 1, 1); }, [] { return sphereCollision(cube, 0, 1, 0.5, 0.5, 0.5); }, 0},
    };
    for (const Case& c : cases) {
        popTransform();
        if (c.place) c.place();
        EXPECT_EQ(c.test(), c.expected) << c.what;
    }
}

// ---------------------------------------------------------------- screen conversions

// The cube's front face (z = 1) is green; the camera looks at it from 4 units away.
TEST_F(Collision, ProjectedCentreLandsOnTheDrawnCubeAndComesBack) {
    for (bool wholeScreen : {true, false}) {
        SCOPED_TRACE(wholeScreen ? "whole screen" : "viewport at (100, 50)");
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        if (!wholeScreen) setViewport(100, 50, 320, 240);
        begin3D(1, 100, 90);
        setCamera(0.5, 0.5, 5, 0.5, 0.5, 0);
        translateTransform(1, 0.5, 0);  // off the view's axis: centre (1.5, 1, 0.5)
        drawObject(cube, 0);
        NumValue x = -1, y = -1, depth = -1;
        projectToScreen(1.5, 1, 0.5, x, y, depth);
        EXPECT_EQ(test::colourAt(int(x), int(y)), (test::Rgb{0, 255, 0})) << x << "," << y;
        const int gap = wholeScreen ? 40 : 20;  // half the face measures 30 (or 15) pixels
        EXPECT_EQ(test::colourAt(int(x) + gap, int(y)), (test::Rgb{0, 0, 0}));
        EXPECT_EQ(test::colourAt(int(x), int(y) - gap), (test::Rgb{0, 0, 0}));

        NumValue backX = 0, backY = 0, backZ = 0;
        unprojectFromScreen(x, y, depth, backX, backY, backZ);
        EXPECT_NEAR(backX, 1.5, 1e-3);
        EXPECT_NEAR(backY, 1, 1e-3);
        EXPECT_NEAR(backZ, 0.5, 1e-3);

        // Picking: the depth drawn at that pixel takes it back onto the front face, where the
        // line from the camera to the centre crosses it, 8/9 of the way.
        float drawn = 0;
        glReadPixels(int(x), 480 - 1 - int(y), 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &drawn);
        unprojectFromScreen(x, y, drawn, backX, backY, backZ);
        EXPECT_NEAR(backX, 0.5 + 8.0 / 9.0, 0.01);
        EXPECT_NEAR(backY, 0.5 + 4.0 / 9.0, 0.01);
        EXPECT_NEAR(backZ, 1, 0.01);
        end3D();
    }
}

TEST_F(Collision, APointInTheCameraPlaneLeavesTheVariablesAlone) {
    begin3D(1, 100, 90);
    setCamera(0.5, 0.5, 5, 0.5, 0.5, 0);
    NumValue x = -7, y = -7, depth = -7;
    projectToScreen(3, 2, 5, x, y, depth);
    projectToScreen(nan, 0, 0, x, y, depth);
    EXPECT_EQ(x, -7);
    EXPECT_EQ(y, -7);
    EXPECT_EQ(depth, -7);
    end3D();
}

} // namespace
} // namespace tarvoke
