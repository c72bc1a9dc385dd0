// Start-up as the game sees it at its first line.
#include <gtest/gtest.h>
#include "core/Engine.h"
#include "graphics2d/Fonts.h"
#include "graphics2d/OpenGLKestrel.h"
#include "platform/Files.h"
#include "platform/Video.h"
#include "support/TestSupport.h"

namespace tarvoke {
namespace {

using test::EngineRun;
using test::ScopedTempDir;

TEST(Startup, TimersReadAboutZeroAtTheGamesFirstLine) {
    ScopedTempDir temp;
    EngineRun engine;
    const NumValue atFirstLine = getTimerAll();
    EXPECT_GE(atFirstLine, 0.0);
    EXPECT_LT(atFirstLine, 50.0);  // start-up presented frames, yet the game starts near 0
    EXPECT_EQ(frameTime, timerBase);
    EXPECT_EQ(previousFrameTime, timerBase);
    EXPECT_EQ(getTimer(), 1.0);
}

TEST(Startup, AnEarlierRunsErrorLogIsGone) {
    ScopedTempDir temp;
    test::writeFile(temp.file("ErrorLog.txt"), "left from the last run\r\n");
    EngineRun engine;
    EXPECT_FALSE(test::fileExists(temp.file("ErrorLog.txt")));
}

TEST(Startup, TheExecutablesDirectoryBecomesCurrent) {
    ScopedTempDir temp;
    platform::setCurrentDirectory(temp.path());
    EngineRun engine;
    const std::string executable = platform::executablePath();
    EXPECT_EQ(platform::currentDirectory(), executable.substr(0, executable.rfind('/')));
}

TEST(Startup, FlagsAndRegistersStartAsTheGameExpects) {
    ScopedTempDir temp;
    autoPause = false;
    testing::internal::CaptureStdout();
    EngineRun engine;
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed, "Init OK\n");
    EXPECT_TRUE(autoPause);
    EXPECT_FALSE(paused);
    EXPECT_TRUE(escapeEndsProgram);
    EXPECT_EQ(currentFont, 0);
    EXPECT_EQ(mainWindow, platform::nativeHandle(openGLKestrel->main.window));
    EXPECT_NEAR(frameClock().framePeriod, 1000.0 / 60.0, 1e-12);
}

TEST(Startup, ASecondStartWhileRunningChangesNothing) {
    ScopedTempDir temp;
    EngineRun engine;
    OpenGLKestrel* first = openGLKestrel;
    EXPECT_EQ(initEngine("again"), 0);
    EXPECT_EQ(openGLKestrel, first);
    EXPECT_STREQ(windowTitle.cStr(), "Tarvoke test");
}

} // namespace
} // namespace tarvoke
