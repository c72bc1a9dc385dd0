// Files, processes, the clock and the extension-string rule of the platform layer.
#include <gtest/gtest.h>
#include <cstdlib>
#include "graphics2d/GlExtensions.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Process.h"
#include "platform/sdl/SdlText.h"
#include "support/TestSupport.h"

namespace tarvoke {
namespace {

using test::ScopedTempDir;

TEST(PlatformFiles, TemporaryDirectoryFollowsTmpdirAndEndsWithASlash) {
    ScopedTempDir temp;
    EXPECT_EQ(platform::temporaryDirectory(), temp.path() + "/");
    unsetenv("TMPDIR");
    EXPECT_EQ(platform::temporaryDirectory(), "/tmp/");
    setenv("TMPDIR", "/var/tmp/", 1);
    EXPECT_EQ(platform::temporaryDirectory(), "/var/tmp/");
}

TEST(PlatformFiles, AppendExclusiveAppendsAndDeleteRemoves) {
    ScopedTempDir temp;
    const std::string path = temp.file("log.txt");
    EXPECT_TRUE(platform::appendExclusive(path, "ab", 2));
    EXPECT_TRUE(platform::appendExclusive(path, "cd", 2));
    EXPECT_EQ(test::readFile(path), "abcd");
    EXPECT_TRUE(platform::fileExists(path));
    EXPECT_TRUE(platform::deleteFile(path));
    EXPECT_FALSE(platform::fileExists(path));
    EXPECT_FALSE(platform::deleteFile(path));
    EXPECT_FALSE(platform::appendExclusive(temp.file("no/such/dir/x"), "a", 1));
}

TEST(PlatformProcess, AProgramRunsAndItsExitCodeIsSeen) {
    int code = -1;
    platform::ProcessId process = platform::startProcess("exit 3");
    ASSERT_GT(process, 0);
    ASSERT_TRUE(platform::waitProcess(process, 5000, code));
    EXPECT_EQ(code, 3);
    process = platform::startProgram({"sh", "-c", "exit $CHILD_CODE"}, {"CHILD_CODE=4"});
    ASSERT_TRUE(platform::waitProcess(process, 5000, code));
    EXPECT_EQ(code, 4);
}

TEST(PlatformProcess, TheChildsEnvironmentReplacesInheritedValues) {
    ::setenv("CHILD_CODE", "9", 1);
    int code = -1;
    const platform::ProcessId process = platform::startProgram({"sh", "-c", "exit $CHILD_CODE"}, {"CHILD_CODE=5"});
    ::unsetenv("CHILD_CODE");
    ASSERT_TRUE(platform::waitProcess(process, 5000, code));
    EXPECT_EQ(code, 5);
}

TEST(PlatformProcess, WaitingTimesOutAndKillEnds) {
    platform::ProcessId process = platform::startProgram({"sleep", "30"});
    ASSERT_GT(process, 0);
    int code = -1;
    EXPECT_FALSE(platform::waitProcess(process, 100, code));
    platform::killProcess(process);
    EXPECT_FALSE(platform::waitProcess(process, 100, code));  // already reaped
    EXPECT_EQ(platform::startProgram({"/no/such/program"}), -1);
}

TEST(PlatformClock, TheCounterIsMonotonicAndSleepsLastAtLeastTheirTime) {
    const std::uint64_t frequency = platform::counterFrequency();
    ASSERT_GT(frequency, 0u);
    const std::uint64_t start = platform::counterValue();
    platform::sleepMilliseconds(15);
    const std::uint64_t end = platform::counterValue();
    EXPECT_GE(double(end - start) * 1000.0 / double(frequency), 15.0);
}

TEST(PlatformDebugger, NoDebuggerIsAttachedToTheTests) { EXPECT_FALSE(platform::isDebuggerAttached()); }

TEST(ExtensionList, OnlyWholeBlankSeparatedWordsMatch) {
    const char* list = "GL_EXT_a GL_ARB_multisample_x GL_ARB_multisample GL_z";
    EXPECT_TRUE(extensionListHas(list, "GL_EXT_a"));
    EXPECT_TRUE(extensionListHas(list, "GL_ARB_multisample"));  // after a longer near-match
    EXPECT_TRUE(extensionListHas(list, "GL_z"));
    EXPECT_FALSE(extensionListHas(list, "GL_EXT"));
    EXPECT_FALSE(extensionListHas(list, "ARB_multisample"));
    EXPECT_FALSE(extensionListHas(list, "GL_ARB_multisample GL_z"));
    EXPECT_FALSE(extensionListHas(nullptr, "GL_z"));
    EXPECT_FALSE(extensionListHas("", "GL_z"));
}

TEST(Windows1252, CaptionsRoundTripThroughUtf8) {
    const std::string bytes = "Gr\xFC\xDF\x65 \x80 \x9F \xA0";
    const std::string utf8 = platform::utf8FromWindows1252(bytes);
    EXPECT_EQ(utf8, "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC \xC5\xB8 \xC2\xA0");
    EXPECT_EQ(platform::windows1252FromUtf8(utf8), bytes);
    EXPECT_EQ(platform::windows1252FromUtf8("\xE4\xB8\xAD"), "?");  // not in the code page
}

} // namespace
} // namespace tarvoke
