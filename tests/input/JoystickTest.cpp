// Joysticks through SDL's virtual devices, attached before start-up as a plugged-in pad would be.
#include <gtest/gtest.h>
#include <memory>
#include "platform/Joysticks.h"
#include "support/TestSupport.h"

namespace tarvoke {
namespace {

constexpr int buttons = 32;

class Joysticks : public ::testing::Test {
protected:
    void SetUp() override {
        pad = platform::attachVirtualJoystick("Virtual pad", 6, buttons, 1);
        second = platform::attachVirtualJoystick("Second pad", 2, 4, 0);
        ASSERT_GE(pad, 0);
        ASSERT_EQ(second, pad + 1);
        engine = std::make_unique<test::EngineRun>();
    }
    void TearDown() override {
        engine.reset();
        platform::detachVirtualJoysticks();
    }
    void setPad(std::initializer_list<int> axes, int hatX = 0, int hatY = 0, std::initializer_list<int> pressed = {}) {
        bool down[buttons] = {};
        for (int button : pressed) down[button] = true;
        platform::setVirtualJoystick(pad, axes.begin(), int(axes.size()), hatX, hatY, down, buttons);
    }

    test::ScopedTempDir temp;
    int pad = -1, second = -1;
    std::unique_ptr<test::EngineRun> engine;
};

TEST_F(Joysticks, EveryAxisScalesToMinusOneToOne) {
    setPad({32767, -32768, 16384, -16384, 0, 8192});
    const NumValue read[] = {joystickX(pad), joystickY(pad), joystickZ(pad),
                             joystickRX(pad), joystickRY(pad), joystickRZ(pad)};
    const NumValue expected[] = {1.0, -1.0, 0.5, -0.5, 0.0, 0.25};
    for (int axis = 0; axis < 6; ++axis) EXPECT_NEAR(read[axis], expected[axis], 1e-3) << "axis " << axis;
}

TEST_F(Joysticks, StateStepsAtThirtyThousandAndGivesTheRawButtonBytes) {
    struct Case { int x, y; std::initializer_list<int> pressed; NumValue stateX, stateY, button1, button2; };
    const Case cases[] = {
        {32767, 29000, {0}, 1, 0, 128, 0},
        {-32768, 30000, {1}, -1, 1, 0, 128},
        {-29999, -32768, {0, 1}, 0, -1, 128, 128},
    };
    for (const Case& c : cases) {
        setPad({c.x, c.y}, 0, 0, c.pressed);
        NumValue x, y, button1, button2;
        joystickState(x, y, button1, button2);
        EXPECT_EQ(x, c.stateX) << c.x;
        EXPECT_EQ(y, c.stateY) << c.y;
        EXPECT_EQ(button1, c.button1);
        EXPECT_EQ(button2, c.button2);
    }
}

TEST_F(Joysticks, TheHatReadsInEveryDirection) {
    for (int hatY = -1; hatY <= 1; ++hatY) {
        for (int hatX = -1; hatX <= 1; ++hatX) {
            setPad({0, 0}, hatX, hatY);
            EXPECT_EQ(joystickHatX(pad), hatX) << hatX << "," << hatY;
            EXPECT_EQ(joystickHatY(pad), hatY) << hatX << "," << hatY;
        }
    }
}

TEST_F(Joysticks, NamesCountAndIndexesWithoutADevice) {
    EXPECT_EQ(joystickCount(), second + 1);
    EXPECT_STREQ(joystickName(pad).cStr(), "Virtual pad, Virtual pad");
    EXPECT_STREQ(joystickName(second).cStr(), "Second pad, Second pad");
    EXPECT_STREQ(joystickName(second + 1).cStr(), "");
    EXPECT_STREQ(joystickName(-1).cStr(), "");
    // A slot with no device reads centred: its hat does not point up.
    for (NumValue absent : {NumValue(second + 1), NumValue(9), NumValue(10), NumValue(-1)}) {
        EXPECT_EQ(joystickX(absent), 0);
        EXPECT_EQ(joystickHatX(absent), 0);
        EXPECT_EQ(joystickHatY(absent), 0);
    }
    EXPECT_EQ(joystickHatY(second), 0) << "a pad without a hat";
}

TEST_F(Joysticks, ForceOnAPadWithoutForceFeedbackChangesNothing) {
    setPad({12000, -12000}, 1, 0, {0});
    const std::string logBefore = test::readFile(temp.file("ErrorLog.txt"));
    joystickForce(pad, 200, 1, -1);
    joystickForce(second + 1, 200, 1, -1);
    EXPECT_NEAR(joystickX(pad), 12000 / 32767.0, 1e-3);
    EXPECT_EQ(joystickHatX(pad), 1);
    EXPECT_EQ(test::readFile(temp.file("ErrorLog.txt")), logBefore);
}

} // namespace
} // namespace tarvoke
