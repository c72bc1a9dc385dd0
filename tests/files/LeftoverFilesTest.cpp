// Files unpacked by a game that was killed are removed by a later start; files that a running
// game still holds are not.
#include <gtest/gtest.h>
#include <chrono>
#include <thread>
#include "files/Files.h"
#include "pack/ArchiveWriter.h"
#include "support/TestSupport.h"
#include "support/XSession.h"

namespace tarvoke {
namespace {

// A holding_game that has unpacked its member; its report names the unpacked file.
struct Holder {
    Holder(const test::ScopedTempDir& temp, const std::string& archive, const std::string& name)
        : report(temp.file(name)),
          game(test::programPath("holding_game"), {}, {"HOLDING_ARCHIVE=" + archive, "HOLDING_REPORT=" + report}) {}

    std::string unpackedFile() const {
        for (int waited = 0; waited < 20000; waited += 20) {
            const std::string text = test::readFile(report);
            if (!text.empty() && text.back() == '\n') return text.substr(0, text.size() - 1);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return "";
    }

    std::string report;
    test::ChildProgram game;
};

TEST(LeftoverFiles, AStartRemovesWhatKilledGamesLeftButNotWhatRunningGamesHold) {
    test::ScopedTempDir temp;
    const std::string archive = temp.file("media.kqz");
    const auto bytes = pack::buildStandaloneArchive({{"greeting.txt", {'h', 'i'}}});
    test::writeFile(archive, std::string(bytes.begin(), bytes.end()));
    const Holder running(temp, archive, "running.txt");
    const std::string held = running.unpackedFile();  // its start looked for leftovers too
    std::string left;
    {
        const Holder killed(temp, archive, "killed.txt");
        left = killed.unpackedFile();
    }  // ended with SIGKILL
    ASSERT_TRUE(test::fileExists(left) && test::fileExists(held)) << left << " " << held;
    test::writeFile(temp.file("kqz-notes.txt"), "not one of ours");

    ASSERT_TRUE(startFiles());
    stopFiles();
    EXPECT_FALSE(test::fileExists(left));
    EXPECT_EQ(test::readFile(held), "hi");
    EXPECT_TRUE(test::fileExists(temp.file("kqz-notes.txt")));
}

} // namespace
} // namespace tarvoke
