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
#include "graphics3d/NormalTable.h"
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
    // A square of side 2 around the origin in the z = 0 plane, built in code; clockwise seen
    // from +z, so its computed normal points that way.
    void buildSquare(int id, std::uint32_t colour) {
        startObject(id);
        for (auto [x, y] : {std::pair{-1, -1}, {-1, 1}, {1, -1}, {1, 1}}) addObjectVertex(x, y, 0, x > 0, y > 0, colour);
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

TEST_F(Scene, BackFacesAreCulledByTheWindingTheModeCallsFront) {
    load(1, test::binaryCube());  // counter-clockwise faces seen from outside
    for (auto [mode, seen] : {std::pair{-1, green}, {1, red}, {0, green}}) {
        glClear(GL_COLOR_BUFFER_BIT);
        lookAtCube();
        setCulling(mode);
        drawObject(1, 0);
        EXPECT_EQ(at(320, 240), seen) << mode;  // the near face, or the far one seen from inside
    }
}

// The second scene has no camera and one black light: its square is drawn (the first scene's
// view, turned away, culls nothing) and shows only the ambient light (the first scene's white
// light stays off).
TEST_F(Scene, ANewSceneKeepsNeitherTheLightsNorTheViewOfTheLastOne) {
    buildSquare(1, 0xFFFFFF);
    begin3D(1, 100, 90);
    setLight(1, 0xFFFFFF, 0, 0, 0, 0, 0, -1, 180);  // would light the square in the next scene
    setCamera(0, 0, 5, 0, 0, 10);
    begin3D(1, 100, 90);
    setLight(0, 0x000000, 0, 0, 0, 0, 0, -1, 180);
    translateTransform(0, 0, -3);
    drawObject(1, 0);
    EXPECT_NEAR(at(320, 240).green, 51, 2);  // the ambient fifth of white
}

// Two key frames of a square: x from -2 to -1, then from 1 to 2 (one unit is 48 pixels here).
test::Bytes movingSquare() {
    test::ModelSpec spec;
    spec.palette = {0x00FFFFFF};
    spec.pairs.assign(6, {0.0f, 0.0f});
    for (float offset : {510.0f, -255.0f}) {
        test::FrameSpec frame;
        frame.offset[0] = offset;
        frame.offset[1] = 127.5f;
        frame.scale[0] = frame.scale[1] = 1.0f / 255.0f;
        frame.vertices = {{0, 0, 0, 0, 0}, {255, 0, 0, 0, 0}, {255, 255, 0, 0, 0},
                          {0, 0, 0, 0, 0}, {255, 255, 0, 0, 0}, {0, 255, 0, 0, 0}};
        spec.frames.push_back(frame);
    }
    return test::binaryModel(spec);
}

TEST_F(Scene, BlendingTwoKeyFramesAtAHalfPutsTheSquareHalfWay) {
    load(1, movingSquare());
    const std::function<void()> draws[] = {[] { drawObjectAnim(1, 0, 1, 0.5, 0); },
                                           [] { drawObjectAnim(1, 0, 1, 0.5, 1); },
                                           [] { drawObjectAnim(1, 1, 0, 2.5, 1); }};  // t wraps to 0.5
    for (const auto& draw : draws) {
        glClear(GL_COLOR_BUFFER_BIT);
        begin3D(1, 100, 90);
        setCamera(0, 0, 5, 0, 0, 0);
        draw();
        EXPECT_EQ(at(320, 240), (Rgb{255, 255, 255}));
        EXPECT_EQ(at(248, 240), black);  // x = -1.5, the first frame
        EXPECT_EQ(at(392, 240), black);  // x = 1.5, the second
    }
    drawObject(1, 7);  // past the last frame: the last
    EXPECT_EQ(at(392, 240), (Rgb{255, 255, 255}));
}

// Three squares side by side whose normals face the light, turn 31.7 degrees from it, and face
// away; what light adds above the unlit square is its diffuse term.
TEST_F(Scene, ADirectionalLightBrightensFacesByTheCosineOfTheirAngle) {
    test::ModelSpec spec;
    spec.palette = {0x00FFFFFF};
    spec.pairs.assign(18, {0.0f, 0.0f});
    test::FrameSpec frame;
    frame.offset[0] = frame.offset[1] = 127.5f;
    frame.scale[0] = 6.0f / 255.0f;
    frame.scale[1] = 2.0f / 255.0f;
    const Vector3 normals[3] = {{0, 0, 1}, {0.525731f, 0, 0.850651f}, {0, 0, -1}};
    for (int square = 0; square < 3; ++square) {
        const std::uint8_t left = std::uint8_t(square * 88), right = std::uint8_t(square * 88 + 79);
        const std::uint8_t n = nearestNormalIndex(normals[square]);
        frame.vertices.insert(frame.vertices.end(), {{left, 0, 0, n, 0}, {right, 0, 0, n, 0}, {right, 255, 0, n, 0},
                                                     {left, 0, 0, n, 0}, {right, 255, 0, n, 0}, {left, 255, 0, n, 0}});
    }
    spec.frames = {frame};
    load(1, test::binaryModel(spec));
    begin3D(1, 100, 90);
    setCamera(0, 0, 5, 0, 0, 0);
    setLight(0, 0x808080, 0, 0, 0, 0, 0, -1, 180);  // shining along -z
    drawObject(1, 0);
    const int facing = at(221, 240).red, turned = at(320, 240).red, away = at(419, 240).red;
    EXPECT_NEAR(facing - away, 128, 2);
    EXPECT_NEAR(turned - away, 128 * 0.850651, 2);
    EXPECT_EQ(at(221, 240).blue, facing);  // a grey light keeps white grey
}

TEST_F(Scene, LinearFogReachesItsColourAtTheFarPlane) {
    buildSquare(1, 0xFFFFFF);
    begin3D(1, 10, 90);  // the camera at the origin, looking along -z
    setFog(0x0000FF, 0, 0, 0);  // red, from the near to the far plane
    translateTransform(0, 0, -9.99);
    drawObject(1, 0);
    translateTransform(0.5, 0, -1.01);
    scaleTransform(0.1, 0.1, 0.1);
    drawObject(1, 0);
    EXPECT_EQ(at(320, 240), red);
    const Rgb near = at(439, 240);
    EXPECT_EQ(near.red, 255);
    EXPECT_GE(near.green, 254);
    setFog(-1, 0, 0, 0);
    EXPECT_FALSE(glIsEnabled(GL_FOG));
}

// A scene file of two white cubes side by side, each naming its own picture.
TEST_F(Scene, EachMeshOfASceneIsDrawnWithItsOwnPicture) {
    test::Bytes cube = test::binaryCube();
    for (int colour = 0; colour < 6; ++colour) test::set32(cube, 24 + 4 * std::size_t(colour), 0x00FFFFFF);
    test::writeFile(temp.file("left.ddd"), std::string(cube.begin(), cube.end()));
    test::set32(cube, 24 + 6 * 4 + 36 * 8 + 4, 0xC3FF0000u);  // x offset -510: from 2 to 3
    test::writeFile(temp.file("right.ddd"), std::string(cube.begin(), cube.end()));
    bmp("red.bmp", 4, 4, test::filled(4, 4, {255, 0, 0}));
    bmp("blue.bmp", 4, 4, test::filled(4, 4, {0, 0, 255}));
    test::writeFile(temp.file("pair.ddw"), ";DDW\n[textures]\ncount=2\n1=red.bmp\n2=blue.bmp\n[objects]\ncount=2\n"
                                           "1=left.ddd\n1ta=1\n1tb=-1\n2=right.ddd\n2ta=2\n2tb=-1\n");
    loadObject(temp.file("pair.ddw").c_str(), 3);
    begin3D(1, 100, 90);
    setCamera(1.5, 0.5, 6, 1.5, 0.5, 0);
    drawObject(3, 0);
    EXPECT_EQ(at(272, 240), red);
    EXPECT_EQ(at(368, 240), (Rgb{0, 0, 255}));
}

// A 16 x 8 picture at scale 0.25 stands on the point as a quad 2 units wide and 1 high.
TEST_F(Scene, ASpriteInTheSceneStandsOnItsPointFacingTheCamera) {
    bmp("green.bmp", 16, 8, test::filled(16, 8, {0, 255, 0}));
    loadSprite(temp.file("green.bmp").c_str(), 5);
    begin3D(1, 100, 90);
    setCamera(0, 0, 5, 0, 0, 0);
    rotateTransform(90, 0, 1, 0);  // turning the scene does not turn the quad away
    drawSprite3D(5, 0, 0, 0, 0.25);
    for (auto [x, y] : {std::pair{274, 194}, {366, 238}}) EXPECT_EQ(at(x, y), green) << x << "," << y;
    for (auto [x, y] : {std::pair{269, 216}, {371, 216}, {320, 189}, {320, 243}}) EXPECT_EQ(at(x, y), black) << x << "," << y;
}

// ---------------------------------------------------------------- shadows

// Seen from 20 units above with a 30-degree view (one unit is 44.8 pixels), a grey floor and a
// cube from y = 1 to 2; the light at (5, 10, 0.5) throws the shadow towards -x, beyond the cube.
TEST_F(Scene, TheShadowPassDarkensTheFloorUnderAnObjectAndNothingElse) {
    load(1, test::binaryCube());
    startObject(2);
    for (auto [x, z] : {std::pair{-5, -5}, {-5, 5}, {5, -5}, {5, 5}}) addObjectVertex(x, 0, z, 0, 0, 0xC8C8C8);
    endObject();
    begin3D(1, 100, 30);
    setCameraUp(0, 0, -1);
    setCamera(0.5, 20, 0.5, 0.5, 0, 0.5);
    drawObject(2, 0);
    translateTransform(0, 1, 0);
    drawObject(1, 0);
    const Rgb floorInShadow = at(266, 240), floorInLight = at(387, 240), cubeTop = at(320, 240);
    ASSERT_EQ(floorInShadow, (Rgb{200, 200, 200}));
    setLight(-3, 0, 5, 10, 0.5, 0, 0, 0, 1);
    drawObject(1, 0);
    EXPECT_EQ(at(266, 240), floorInShadow);  // nothing shows until the pass is left
    end3D();
    EXPECT_EQ(at(266, 240), (Rgb{100, 100, 100}));
    EXPECT_EQ(at(387, 240), floorInLight);
    EXPECT_EQ(at(320, 240), cubeTop);
    EXPECT_EQ(at(320, 100), floorInLight);
}

TEST_F(Scene, TheFrameLoopAndSetViewportLeaveTheShadowPass) {
    struct Case {
        std::function<void()> leave;
        bool mipmappingAfter;  // only the frame loop turns mipmapped object textures off
    } cases[] = {{showScreen, false}, {[] { setViewport(0, 0, 0, 0); }, true}};
    for (const Case& c : cases) {
        begin3D(1, 100, 90);
        setObjectMipmapping(1);
        setLight(-3, 0, 0, 10, 0, 0, 0, 0, 1);
        ASSERT_TRUE(kestrel3D->scene.shadowPass);
        c.leave();
        EXPECT_FALSE(kestrel3D->scene.shadowPass);
        EXPECT_FALSE(glIsEnabled(GL_STENCIL_TEST));
        GLboolean colourWrites[4] = {};
        glGetBooleanv(GL_COLOR_WRITEMASK, colourWrites);
        EXPECT_TRUE(colourWrites[0]);
        EXPECT_EQ(kestrel3D->scene.objectMipmapping, c.mipmappingAfter);
    }
}

// ---------------------------------------------------------------- ways of drawing the same

// The cube turned to show three faces, textured, as frame 0 and as a blend of frame 0 with itself
// moved by a texture offset (which takes the work array and the dynamic buffer).
std::vector<std::uint8_t> drawTurnedCube(int id) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    begin3D(1, 100, 60);
    setCamera(0.5, 0.5, 4, 0.5, 0.5, 0);
    setObjectTexture(10, -1);
    translateTransform(-0.8, 0, 0);
    rotateTransform(30, 1, 1, 0);
    drawObject(id, 0);
    setTextureOffset(0.25, 0);
    translateTransform(0.8, 0, 0);
    rotateTransform(-30, 1, 1, 0);
    drawObjectAnim(id, 0, 0, 0.5, 0);
    end3D();
    return test::readScreenRgba(0, 0, 640, 480);
}

void loadQuarters(const std::string& path) {
    std::vector<Rgb> pixels(64);
    for (int i = 0; i < 64; ++i) pixels[std::size_t(i)] = {Rgb{std::uint8_t(i % 8 < 4 ? 250 : 40), std::uint8_t(i < 32 ? 200 : 60), 90}};
    test::writeBmp24(path, 8, 8, pixels);
    loadSprite(path.c_str(), 10);
}

TEST_F(Scene, VertexBuffersAndClientArraysGiveTheSamePixels) {
    loadQuarters(temp.file("quarters.bmp"));
    load(1, test::binaryCube());
    const std::vector<std::uint8_t> buffered = drawTurnedCube(1);
    const MeshObjectX& mesh = kestrel3D->objects[1].meshes[0];
    EXPECT_TRUE(mesh.staticBuffer.exists() && mesh.dynamicBuffer.exists());
    const GlEntryPoints saved = glExt;
    glExt.genBuffers = nullptr;  // a driver without vertex buffers
    glExt.bindBuffer = nullptr;
    glExt.bufferData = nullptr;
    const std::vector<std::uint8_t> fromMemory = drawTurnedCube(1);
    glExt = saved;
    EXPECT_TRUE(buffered == fromMemory);
    EXPECT_NE(buffered, std::vector<std::uint8_t>(buffered.size(), 0));

    // Behind the camera: culled before anything is handed to the driver.
    load(2, test::binaryCube());
    lookAtCube();
    translateTransform(0, 0, 10);
    drawObject(2, 0);
    EXPECT_FALSE(kestrel3D->objects[2].meshes[0].staticBuffer.exists());
}

TEST_F(Scene, AnObjectBuiltInCodeDrawsLikeTheSameObjectLoadedFromAFile) {
    loadQuarters(temp.file("quarters.bmp"));
    load(1, test::binaryCube());
    setPreparationLevel(0);  // the file's normals are not computed either
    startObject(2);
    for (int face = 0; face < 6; ++face)
        for (int triangle = 0; triangle < 2; ++triangle) {
            if (face + triangle > 0) newStrip();  // one triangle a strip
            for (int i = 0; i < 3; ++i) {
                const int corner = test::Cube::quadTriangles[triangle * 3 + i];
                const int* p = test::Cube::corners[test::Cube::faces[face][corner]];
                addObjectVertex(p[0], p[1], p[2], test::Cube::uv[corner][0], test::Cube::uv[corner][1], test::Cube::colours[face]);
            }
        }
    endObject();
    EXPECT_EQ(getTriangleCount(2), 12);
    EXPECT_TRUE(drawTurnedCube(1) == drawTurnedCube(2));
}

// ---------------------------------------------------------------- special lighting

TEST_F(Scene, CelShadingPicksTheRampLevelOfTheLightsAngle) {
    buildSquare(1, 0xFFFFFF);  // its normal points at the camera
    NumArray ramp;
    fillArray(ramp, {0.25, 1.0});
    setCelShadingRamp(ramp);
    for (auto [lightZ, level] : {std::pair{10, 255}, {-10, 63}}) {
        begin3D(1, 100, 90);
        setCamera(0, 0, 5, 0, 0, 0);
        setLight(-2, 0xFFFFFF, 0, 0, lightZ, 0, 0, 0, 1);
        drawObject(1, 0);
        EXPECT_NEAR(at(320, 240).green, level, 1) << lightZ;
    }
    load(4200, test::binaryCube());
    drawObject(4200, 0);
    ASSERT_TRUE(kestrel3D->objects[4200].meshes[0].celTexture.exists());
    fillArray(ramp, {0.5});
    setCelShadingRamp(ramp);  // every slot's cel texture goes, the last ones too
    EXPECT_FALSE(kestrel3D->objects[4200].meshes[0].celTexture.exists());
    clearDepth();
    drawObject(1, 0);
    EXPECT_NEAR(at(320, 240).green, 127, 1);
}

TEST_F(Scene, NormalMappingLightsTheSideTheLightIsOn) {
    bmp("flat.bmp", 4, 4, test::filled(4, 4, {0, 0, 200}));
    loadBumpTexture(temp.file("flat.bmp").c_str(), 11);  // a flat map: every normal along +z
    buildSquare(1, 0xFFFFFF);
    for (auto [lightZ, bright] : {std::pair{10, true}, {-10, false}}) {
        begin3D(1, 100, 90);
        setCamera(0, 0, 5, 0, 0, 0);
        setObjectTexture(11, -1);
        setLight(-1, 0xFFFFFF, 0, 0, lightZ, 0, 0, 0, 1);
        drawObject(1, 0);
        if (bright)
            EXPECT_GT(at(320, 240).green, 230);
        else
            EXPECT_LT(at(320, 240).green, 20);
    }
}

// ---------------------------------------------------------------- 2D and 3D in one frame

void draw2D() {
    drawRect(0, 0, 640, 480, 0x304050);
    setAlphaMode(-0.6);
    stretchSprite(10, 40, 40, 200, 150);
    setAlphaMode(0.5);
    drawSprite(10, 300, 60);
    setAlphaMode(0);
    drawLine(10, 300, 600, 320, 0x00FFFF);
    printText("2D AFTER 3D", 100, 400);
    startPoly(-1);
    for (auto [x, y] : {std::pair{400, 300}, {500, 300}, {450, 380}}) polyVertex(x, y, 0, 0, 0xFF8000);
    endPoly();
}

TEST_F(Scene, TwoDimensionalDrawingAfterTheSceneLooksAsInAFrameWithoutOne) {
    loadQuarters(temp.file("quarters.bmp"));
    load(1, test::binaryCube());
    draw2D();
    const std::vector<std::uint8_t> alone = test::readScreenRgba(0, 0, 640, 480);
    glClear(GL_COLOR_BUFFER_BIT);
    begin3D(1, 100, 60);
    setCamera(2, 2, 4, 0.5, 0.5, 0.5);
    setLight(0, 0xFFFFFF, 3, 3, 3, 0, 0, 0, 120);
    setFog(0x808080, 1, 0.05, 0);
    setCulling(1);
    setObjectTexture(10, 10);
    setSphereMapping(1);
    drawObjectAnim(1, 0, 0, 0.5, 0);
    setSphereMapping(0);
    setLight(-2, 0xFFFFFF, 3, 3, 3, 0, 0, 0, 1);
    drawObject(1, 0);
    setLight(-1, 0xFFFFFF, 3, 3, 3, 0, 0, 0, 1);
    drawObject(1, 0);
    drawSprite3D(10, 0, 0, 0, 0.1);
    drawPoint3D(0, 1, 0, 8, 0xFF);
    drawLine3D(0, 0, 0, 1, 1, 1, 4, 0xFF00);
    drawAxes3D(0, 0, 0);
    setLight(-3, 0, 3, 3, 3, 0, 0, 0, 1);
    drawObject(1, 0);
    end3D();
    draw2D();
    EXPECT_TRUE(alone == test::readScreenRgba(0, 0, 640, 480));
}

// In a viewport of 320 x 240 at (100, 50), the scene's centre is window pixel (260, 170).
TEST_F(Scene, TextAtAPointOfTheSceneIsCentredOverItInTheViewport) {
    setViewport(100, 50, 320, 240);
    begin3D(1, 100, 90);
    setCamera(0, 0, 5, 0, 0, 0);
    printText3D("0", 0, 0, 0, 0);
    NumValue cellWidth = 0, cellHeight = 0;
    getFontSize(cellWidth, cellHeight);
    NumValue fontWidth = 0, fontHeight = 0;
    getSpriteSize(65504, fontWidth, fontHeight);
    const int left = 260 - int(cellWidth) / 2, top = 170 - int(fontHeight) / 8;
    int inside = 0, outside = 0;
    const std::vector<std::uint8_t> screen = test::readScreenRgba(0, 0, 640, 480);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            if (screen[std::size_t(y * 640 + x) * 4] != 255) continue;
            const bool inCell = x >= left && x < left + cellWidth && y >= top && y < top + cellHeight;
            (inCell ? inside : outside) += 1;
        }
    EXPECT_GT(inside, 4);
    EXPECT_EQ(outside, 0);
}

} // namespace
} // namespace tarvoke
