#include <gtest/gtest.h>
#include "core/CommandLine.h"
#include "tarvoke.h"

namespace tarvoke {
namespace {

TEST(CommandLine, PlainArgumentsAreJoinedWithBlanks) {
    EXPECT_EQ(joinCommandLine({}), "");
    EXPECT_EQ(joinCommandLine({"-level", "3"}), "-level 3");
}

TEST(CommandLine, ArgumentsWithBlanksOrQuotesAreQuoted) {
    EXPECT_EQ(joinCommandLine({"my save.dat"}), "\"my save.dat\"");
    EXPECT_EQ(joinCommandLine({""}), "\"\"");
    EXPECT_EQ(joinCommandLine({"say \"hi\""}), "\"say \\\"hi\\\"\"");
    // Backslashes stay literal, except before a quote or the closing quote.
    EXPECT_EQ(joinCommandLine({"C:\\a b\\"}), "\"C:\\a b\\\\\"");
    EXPECT_EQ(joinCommandLine({"C:\\dir\\file"}), "C:\\dir\\file");
}

TEST(CommandLine, EngineOptionsAreTakenOffAndTheRestKept) {
    std::vector<std::string> arguments{"a", "--tarvoke-frames", "12", "b", "--tarvoke-screenshot", "x.png"};
    const EngineOptions options = takeEngineOptions(arguments);
    EXPECT_EQ(options.captureFrames, 12);
    EXPECT_EQ(options.screenshotPath, "x.png");
    EXPECT_EQ(arguments, (std::vector<std::string>{"a", "b"}));
    std::vector<std::string> dangling{"--tarvoke-frames"};  // no value: left to the game
    EXPECT_EQ(takeEngineOptions(dangling).captureFrames, 0);
    EXPECT_EQ(dangling.size(), 1u);
}

TEST(CommandLine, GetCommandLineReturnsACopy) {
    commandLine = "one two";
    StrValue copy = getCommandLine();
    copy += " three";
    EXPECT_STREQ(commandLine.cStr(), "one two");
    EXPECT_STREQ(copy.cStr(), "one two three");
}

} // namespace
} // namespace tarvoke
