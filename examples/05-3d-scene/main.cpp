// A 3D scene: a textured rocket hovers and turns above a sandy floor in the sun, casting its
// shadow, while the far floor fades into the sky's haze. The rocket was drawn in an OBJ file
// and converted with tarvoke-ddd at build time (tools/media/make_scene_model.cpp makes the OBJ);
// the floor is built in code.
//   Left/Right circle the camera   Up/Down move it nearer or farther   Escape end
#include <tarvoke.h>
#include <cmath>

using namespace tarvoke;

const GameInfo tarvoke::gameInfo = {"3D scene", ProjectSettings{}};

namespace {

constexpr int keyLeft = 203, keyRight = 205, keyUp = 200, keyDownArrow = 208;
constexpr int rocket = 1, floorTiles = 2;  // object slots
constexpr int rocketPicture = 1;           // sprite slot
constexpr int skyColour = 0xD8A070;        // 0xBBGGRR: a hazy blue
constexpr int sandColour = 0x6EAAC8;
constexpr double degrees = 3.14159265358979323846 / 180.0;

// The floor: 40 x 40 units around the origin, in tiles of 4 so that fog and light have vertices
// to work on. Each tile is a strip turning clockwise seen from above, so its normal points up.
void buildFloor() {
    startObject(floorTiles);
    for (int x = -20; x < 20; x += 4)
        for (int z = -20; z < 20; z += 4) {
            if (x > -20 || z > -20) newStrip();
            addObjectVertex(x, 0, z, 0, 0, sandColour);
            addObjectVertex(x + 4, 0, z, 1, 0, sandColour);
            addObjectVertex(x, 0, z + 4, 0, 1, sandColour);
            addObjectVertex(x + 4, 0, z + 4, 1, 1, sandColour);
        }
    endObject();
}

struct Camera {
    double angle = -30;    // degrees around the rocket
    double distance = 10;  // from the rocket's axis

    void steer() {
        if (keyDown(keyLeft)) angle -= 1.5;
        if (keyDown(keyRight)) angle += 1.5;
        if (keyDown(keyUp) && distance > 5) distance -= 0.1;
        if (keyDown(keyDownArrow) && distance < 25) distance += 0.1;
    }
    void place() const {
        setCamera(std::sin(angle * degrees) * distance, 3.5, std::cos(angle * degrees) * distance, 0, 1.5, 0);
    }
};

void drawRocket(double seconds) {
    setObjectTexture(rocketPicture, -1);
    translateTransform(0, 0.6 + 0.25 * std::sin(seconds * 2.0), 0);
    rotateTransform(seconds * 40.0, 0, 1, 0);
    drawObject(rocket, 0);
}

void drawScene(const Camera& camera, double seconds) {
    drawRect(0, 0, 640, 480, skyColour);
    begin3D(0.5, 60, 55);
    camera.place();
    setLight(0, 0xFFFFFF, 0, 0, 0, 0.8, -0.9, 0.2, 180);  // the sun, low on the left
    setFog(skyColour, 0, 12, 40);
    drawObject(floorTiles, 0);
    drawRocket(seconds);
    // The rocket again, as a shadow volume from the sun's side; end3D darkens what it covers.
    setLight(-3, 0, -8, 9, -2, 0, 0, 0, 1);
    drawRocket(seconds);
    end3D();
    printText("ARROWS MOVE THE CAMERA", 16, 16);
}

} // namespace

void tarvokeMain() {
    loadSprite("rocket.bmp", rocketPicture);
    loadObject("rocket.ddd", rocket);
    buildFloor();
    Camera camera;
    for (;;) {
        camera.steer();
        drawScene(camera, getTimerAll() / 1000.0);
        showScreen();
    }
}
