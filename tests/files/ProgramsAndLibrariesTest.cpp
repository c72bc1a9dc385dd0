// Starting programs from command lines, and binding functions of dynamic libraries.
#include <gtest/gtest.h>
#include <filesystem>
#include "files/Files.h"
#include "files/Libraries.h"
#include "platform/Programs.h"
#include "support/TestSupport.h"

namespace tarvoke {
namespace {

using Words = std::vector<std::string>;

TEST(CommandLineSplit, WordsAsTheShellSplitsThem) {
    const struct { const char* line; Words words; } cases[] = {
        {"a  b\tc", {"a", "b", "c"}},
        {"'a b' \"c d\"", {"a b", "c d"}},
        {"x\"y z\"w", {"xy zw"}},
        {"\"a\\\"b\\n\" 'c\\d'", {"a\"b\\n", "c\\d"}},
        {"a\\ b \\'", {"a b", "'"}},
        {"\"\" x", {"", "x"}},
        {"   ", {}},
        {"\"unclosed text", {"unclosed text"}},
        {"$HOME *.c a|b >out", {"$HOME", "*.c", "a|b", ">out"}},
    };
    for (const auto& c : cases) EXPECT_EQ(platform::splitCommandLine(c.line), c.words) << c.line;
}

TEST(RunProgram, ExitCodesWithWaitingAndNoneWithout) {
    const struct { const char* line; NumValue wait; NumValue result; NumValue code; } cases[] = {
        {"sh -c 'exit 7'", 1, 1, 7},
        {"sh -c 'exit $#' x a \"b c\"", 1, 1, 2},
        {"sh -c 'exit 7'", 0, 1, 0},
        {"/no/such/program", 1, 0, 0},
        {"no-such-program-anywhere", 1, 0, 0},
        {"  ", 1, 0, 0},
    };
    for (const auto& c : cases) {
        NumValue code = -1;
        EXPECT_EQ(runProgram(c.line, c.wait, 0, code), c.result) << c.line;
        EXPECT_EQ(code, c.code) << c.line;
    }
}

TEST(RunProgram, WithoutWaitingTheCallReturnsWhileTheProgramRuns) {
    test::ScopedTempDir temp;
    const StrValue line = ("sh -c 'sleep 0.3; echo done > " + temp.file("marker") + "'").c_str();
    NumValue code = -1;
    EXPECT_EQ(runProgram(line, 0, 1, code), 1);
    EXPECT_FALSE(test::fileExists(temp.file("marker")));
    EXPECT_EQ(runProgram(line, 1, 1, code), 1);
    EXPECT_TRUE(test::fileExists(temp.file("marker")));
}

const std::string pluginDir = TARVOKE_PLUGIN_DIR;

class LibraryBinding : public testing::Test {
protected:
    void TearDown() override { stopLibraries(); }
    template <typename Function>
    Function* bind(StrValue& library, const char* function) {
        void* address = reinterpret_cast<void*>(1);
        loadDllFunction(library, function, address);
        return reinterpret_cast<Function*>(address);
    }
};

TEST_F(LibraryBinding, NameFormsThatFindTheLibraryAndOnesThatDoNot) {
    test::ScopedTempDir temp;  // a folder with capitals: the name is tried as written first
    std::filesystem::create_directory_symlink(pluginDir, temp.file("Plugins"));
    const struct { std::string library; const char* function; bool found; } cases[] = {
        {temp.file("Plugins/tvkplugin.dll"), "tvkTwice", true},
        {pluginDir + "/tvkplugin.dll", "tvkTwice", true},
        {pluginDir + "/TvkPlugin.DLL", "tvkTwice", true},
        {pluginDir + "/libtvkplugin.so", "tvkTwice", true},
        {pluginDir + "/tvkplugin.dll", "noSuchFunction", false},
        {pluginDir + "/tvkplugin", "tvkTwice", false},
        {pluginDir + "/nosuch.dll", "tvkTwice", false},
        {"", "tvkTwice", false},
    };
    for (const auto& c : cases) {
        StrValue name = c.library.c_str();
        auto* twice = bind<int(int)>(name, c.function);
        EXPECT_EQ(twice != nullptr, c.found) << c.library << " " << c.function;
        if (twice) {
            EXPECT_EQ(twice(21), 42);
        }
    }
}

TEST_F(LibraryBinding, TwoBindingsLoadOnceAndTheLibraryGoesAtTheEnd) {
    StrValue name = (pluginDir + "/TVKplugin.dll").c_str();
    auto* count = bind<int()>(name, "tvkCount");
    EXPECT_EQ(std::string(name.cStr()), pluginDir + "/tvkplugin.dll");  // the game's text turned to lower case
    StrValue sameName = (pluginDir + "/TvkPlugin.dll").c_str();
    auto* twice = bind<int(int)>(sameName, "tvkTwice");
    ASSERT_TRUE(count && twice);
    EXPECT_EQ(loadedLibraryCount(), 1u);
    EXPECT_EQ(count(), 1);
    EXPECT_EQ(bind<int()>(name, "tvkCount")(), 2);  // the same loaded copy
    stopLibraries();
    EXPECT_EQ(loadedLibraryCount(), 0u);
    EXPECT_EQ(bind<int()>(name, "tvkCount")(), 1);  // loaded anew
}

} // namespace
} // namespace tarvoke
