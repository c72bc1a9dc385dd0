// The chat example with a host and two clients, each typing one line once all are in.
#include <gtest/gtest.h>
#include <thread>
#include "net/NetTestSupport.h"
#include "platform/Process.h"
#include "support/TestSupport.h"

namespace tarvoke::test {
namespace {

bool waitForText(const std::string& path, const std::string& text) {
    for (int waited = 0; readFile(path).find(text) == std::string::npos; waited += 10) {
        if (waited >= 10000) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

TEST(ChatExample, EveryoneSeesTheOthersLinesButNotTheirOwn) {
    const std::string names[] = {"Hanna", "Anna", "Bert"};  // Hanna hosts
    ScopedTempDir temp;
    const std::string port = std::to_string(freePort());
    // Bounded waits, so that no shell outlives a failed test by more than a few seconds.
    auto waitFor = [&](const char* file) { return "for i in $(seq 400); do [ -f " + temp.file(file) + " ] && break; sleep 0.02; done; "; };
    std::vector<platform::ProcessId> games;
    for (const std::string& name : names) {
        const std::string typing = "(" + waitFor("go") + "echo 'line of " + name + "'; " + waitFor("end") + "echo /quit)";
        const std::string how = name == "Hanna" ? " host " : " join 127.0.0.1 ";
        games.push_back(platform::startProcess(typing + " | exec " + TARVOKE_CHAT + how + port + " " + name + " > " + temp.file(name)));
        if (name == "Hanna") {
            ASSERT_TRUE(waitForText(temp.file(name), "in the game"));  // the clients start together
        }
    }
    for (const std::string& name : names) ASSERT_TRUE(waitForText(temp.file(name), "in the game")) << name;
    writeFile(temp.file("go"), "");
    for (const std::string& reader : names)
        for (const std::string& writer : names)
            EXPECT_TRUE(waitForText(temp.file(reader), (reader == writer ? "sent: " : "got: ") + writer + ": line of " + writer))
                << reader << " / " << writer;
    writeFile(temp.file("end"), "");
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
