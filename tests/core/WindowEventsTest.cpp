// The engine's handling of window messages: pausing on deactivation, ending on a close request.
#include <gtest/gtest.h>
#include "core/Engine.h"
#include "graphics2d/OpenGLKestrel.h"
#include "platform/Video.h"
#include "support/TestSupport.h"

namespace tarvoke {
namespace {

using platform::EventType;
using test::EngineRun;
using test::ScopedTempDir;

void handleWindowEvent(EventType type) {
    platform::Event event;
    event.type = type;
    tarvoke::handleWindowEvent(event);
}

std::string caption() { return platform::windowCaption(openGLKestrel->main.window); }

class WindowEvents : public testing::Test {
protected:
    void TearDown() override { paused = false; }  // a pause must not outlive its test
    ScopedTempDir temp;
    EngineRun engine{ProjectSettings{}, "Paused game"};
};

TEST_F(WindowEvents, DeactivationPausesAndMarksTheCaption) {
    handleWindowEvent(EventType::Deactivated);
    EXPECT_TRUE(paused);
    EXPECT_EQ(caption(), "Paused game <pause>");
    handleWindowEvent(EventType::Activated);
    EXPECT_FALSE(paused);
    EXPECT_EQ(caption(), "Paused game");
}

TEST_F(WindowEvents, WithAutoPauseOffNothingChanges) {
    setAutoPause(0);
    handleWindowEvent(EventType::Deactivated);
    EXPECT_FALSE(paused);
    EXPECT_EQ(caption(), "Paused game");
    handleWindowEvent(EventType::Activated);
    EXPECT_FALSE(paused);
    EXPECT_EQ(caption(), "Paused game");
}

TEST_F(WindowEvents, DebugModeNeverPauses) {
    projectSettings.debugMode = 1;
    handleWindowEvent(EventType::Deactivated);
    EXPECT_FALSE(paused);
    EXPECT_EQ(caption(), "Paused game");
    projectSettings.debugMode = 0;
}

TEST_F(WindowEvents, APauseEndsOnActivationEvenIfAutoPauseWasSwitchedOffMeanwhile) {
    handleWindowEvent(EventType::Deactivated);
    ASSERT_TRUE(paused);
    setAutoPause(0);
    handleWindowEvent(EventType::Activated);
    EXPECT_FALSE(paused);
    EXPECT_EQ(caption(), "Paused game");
}

TEST_F(WindowEvents, ABreakpointWithoutADebuggerChangesNothing) {
    handleWindowEvent(EventType::Deactivated);
    debugBreakpoint(0x2A);
    EXPECT_TRUE(paused);
    EXPECT_TRUE(platform::isWindowShown(openGLKestrel->main.window));
}

TEST_F(WindowEvents, ACloseRequestEndsTheProgramWithCodeZero) {
    EXPECT_EXIT(handleWindowEvent(EventType::CloseRequest), testing::ExitedWithCode(0), "");
}

} // namespace
} // namespace tarvoke
