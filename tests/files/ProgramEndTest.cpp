// A whole program's files are saved however it ends (Escape and the close button are in
// tests/session, where real key and window events can reach it).
#include <gtest/gtest.h>
#include "support/TestSupport.h"
#include "support/XSession.h"

namespace tarvoke {
namespace {

TEST(ProgramEnd, TheMainRoutineReturningOrExitAloneSavesIniAndLineFile) {
    for (const char* way : {"return", "exit"}) {
        test::ScopedTempDir temp;
        test::ChildProgram game(test::programPath("files_game"), {way});
        int code = -1;
        ASSERT_TRUE(game.waitForExit(20000, code)) << way;
        EXPECT_EQ(code, 0) << way;
        EXPECT_EQ(test::readFile(temp.file("game.ini")), std::string("[Run]\r\nended=") + way + "\r\n") << way;
        EXPECT_EQ(test::readFile(temp.file("lines.txt")), "\r\n\r\nsaved\r\n") << way;
    }
}

} // namespace
} // namespace tarvoke
