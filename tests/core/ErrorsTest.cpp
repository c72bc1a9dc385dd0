// Error registers, the error log and the ways out.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <gtest/gtest.h>
#include <thread>
#include "core/Engine.h"
#include "core/Errors.h"
#include "support/TestSupport.h"
#include "platform/Clock.h"

namespace tarvoke {
namespace {

using test::ScopedTempDir;

TEST(Errors, RecordErrorKeepsTheCodeAndLineUntilTheNextError) {
    setDebugPosition(3, 120);
    EXPECT_EQ(recordError(7), 7.0);
    EXPECT_EQ(errorCode, 7.0);
    EXPECT_EQ(errorLine, 120.0);
    EXPECT_EQ(debugTag, 3.0);
    setDebugPosition(3, 130);  // the program continues: the error stays
    EXPECT_EQ(errorCode, 7.0);
    EXPECT_EQ(errorLine, 120.0);
    recordError(9);
    EXPECT_EQ(errorCode, 9.0);
    EXPECT_EQ(errorLine, 130.0);
}

TEST(ErrorLog, LinesLandInCallOrderWithCrLf) {
    ScopedTempDir temp;
    EXPECT_EQ(errorLogPath(), temp.path() + "/ErrorLog.txt");
    appendErrorLog("first writer");
    appendErrorLog(StrValue("second writer"));
    appendErrorLog("");
    EXPECT_EQ(test::readFile(temp.file("ErrorLog.txt")), "first writer\r\nsecond writer\r\n\r\n");
}

// Holds the log the way another writer would, for the given time.
void holdLog(const std::string& path, int holdMs) {
    int fd = open(path.c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(flock(fd, LOCK_EX), 0);
    platform::sleepMilliseconds(holdMs);
    close(fd);
}

TEST(ErrorLog, AWriterWaitsForAnotherToFinish) {
    ScopedTempDir temp;
    const std::string path = temp.file("ErrorLog.txt");
    int fd = open(path.c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_EQ(flock(fd, LOCK_EX), 0);
    std::thread release([fd] {
        platform::sleepMilliseconds(250);
        close(fd);
    });
    appendErrorLog("after the wait");
    release.join();
    EXPECT_EQ(test::readFile(path), "after the wait\r\n");
}

TEST(ErrorLog, ALogHeldThroughFiveAttemptsLosesTheLineOnly) {
    ScopedTempDir temp;
    const std::string path = temp.file("ErrorLog.txt");
    std::thread holder(holdLog, path, 900);
    platform::sleepMilliseconds(50);
    const double start = now();
    appendErrorLog("dropped");
    const double took = now() - start;
    holder.join();
    EXPECT_GE(took, 450.0);  // five attempts, 100 ms apart
    EXPECT_EQ(test::readFile(path), "");
    appendErrorLog("kept");
    EXPECT_EQ(test::readFile(path), "kept\r\n");
}

TEST(ErrorLog, AnUnwritableFolderNeverStopsTheGame) {
    ScopedTempDir temp;
    setenv("TMPDIR", (temp.path() + "/missing/folder").c_str(), 1);
    appendErrorLog("nowhere to go");
    EXPECT_FALSE(test::fileExists(temp.path() + "/missing/folder/ErrorLog.txt"));
}

class Ending : public testing::Test {
protected:
    void SetUp() override {
        // The child must share this test's folder, so it is forked, not re-run.
        GTEST_FLAG_SET(death_test_style, "fast");
    }
    ScopedTempDir temp;
};

TEST_F(Ending, DebugModeWritesTheEndRecord) {
    projectSettings.debugMode = 1;
    setDebugPosition(5, 42);
    recordError(7);
    EXPECT_EXIT(endProgram(), testing::ExitedWithCode(0), "");
    projectSettings.debugMode = 0;
    EXPECT_EQ(test::readFile(temp.file("ErrorLog.txt")),
              "-End On Line\r\n7\r\n41\r\n42\r\n5\r\n");
}

TEST_F(Ending, TheEndRecordTruncatesTowardZero) {
    projectSettings.debugMode = 1;
    setDebugPosition(-2.7, 10.9);
    recordError(3.99);
    EXPECT_EXIT(endProgram(), testing::ExitedWithCode(0), "");
    projectSettings.debugMode = 0;
    EXPECT_EQ(test::readFile(temp.file("ErrorLog.txt")),
              "-End On Line\r\n3\r\n9\r\n10\r\n-2\r\n");
}

TEST_F(Ending, WithoutDebugModeNothingIsWrittenEvenAfterAnError) {
    projectSettings.debugMode = 0;
    recordError(9);
    EXPECT_EXIT(endProgram(), testing::ExitedWithCode(0), "");
    EXPECT_FALSE(test::fileExists(temp.file("ErrorLog.txt")));
}

TEST_F(Ending, EndAndRunStartsTheCommandLineAndExitsWithZero) {
    const std::string marker = temp.file("started.txt");
    const StrValue command(("echo ran > '" + marker + "'").c_str());
    EXPECT_EXIT(endAndRun(command), testing::ExitedWithCode(0), "");
    for (int waited = 0; waited < 5000 && test::readFile(marker).empty(); waited += 20)
        platform::sleepMilliseconds(20);
    EXPECT_EQ(test::readFile(marker), "ran\n");
}

TEST_F(Ending, EndAndRunExitsWithZeroAlsoWhenTheProgramCannotStart) {
    EXPECT_EXIT(endAndRun("/no/such/program --at-all"), testing::ExitedWithCode(0), "");
}

} // namespace
} // namespace tarvoke
