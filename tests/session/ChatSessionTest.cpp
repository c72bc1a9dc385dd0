// The chat example with a host and two clients under the X server: each types one line into its
// own window once all are in, and everyone sees the others' lines.
#include <gtest/gtest.h>
#include <thread>
#include "net/NetTestSupport.h"
#include "platform/Process.h"
#include "support/TestSupport.h"
#include "support/XSession.h"

namespace tarvoke::test {
namespace {

bool waitForText(const std::string& path, const std::string& text) {
    for (int waited = 0; readFile(path).find(text) == std::string::npos; waited += 10) {
        if (waited >= 10000) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// The visible window of a process (SDL names its process on the window); "" after 10 s.
std::string windowOf(platform::ProcessId process) {
    for (int waited = 0; waited < 10000; waited += 50) {
        const std::string found = xdotool("search --onlyvisible --pid " + std::to_string(process));
        if (!found.empty()) return found.substr(0, found.find('\n'));
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return "";
}

void typeLine(const std::string& window, const std::string& line) {
    focusWindow(window);
    xdotool("type --delay 20 '" + line + "'");
    xdotool("key Return");
}

TEST(ChatExample, EveryoneSeesTheOthersLinesButNotTheirOwn) {
    const std::string names[] = {"Hanna", "Anna", "Bert"};  // Hanna hosts
    ScopedTempDir temp;
    const std::string port = std::to_string(freePort());
    std::vector<platform::ProcessId> games;
    std::vector<std::string> windows;
    for (const std::string& name : names) {
        const std::string how = name == "Hanna" ? " host " : " join 127.0.0.1 ";
        games.push_back(platform::startProcess("exec " + std::string(TARVOKE_CHAT) + how + port + " " + name + " > " +
                                               temp.file(name)));
        ASSERT_TRUE(waitForText(temp.file(name), "in the game")) << name;
        windows.push_back(windowOf(games.back()));
        ASSERT_FALSE(windows.back().empty()) << name;
    }
    for (int i = 0; i < 3; ++i) typeLine(windows[std::size_t(i)], "line of " + names[i]);
    for (const std::string& reader : names)
        for (const std::string& writer : names)
            EXPECT_TRUE(waitForText(temp.file(reader), (reader == writer ? "sent: " : "got: ") + writer + ": line of " + writer))
                << reader << " / " << writer;
    for (const std::string& window : windows) typeLine(window, "/quit");
    for (platform::ProcessId game : games) {
        int code = -1;
        EXPECT_TRUE(platform::waitProcess(game, 10000, code) && code == 0);
    }
    for (const std::string& name : names)
        EXPECT_EQ(readFile(temp.file(name)).find("got: " + name + ": "), std::string::npos) << "echoed to " << name;
    EXPECT_NE(readFile(temp.file("Hanna")).find("got: * Bert joined"), std::string::npos);
}

} // namespace
} // namespace tarvoke::test
