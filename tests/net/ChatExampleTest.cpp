// The chat example with a host and two clients, each typing one line once all are in.
#include <gtest/gtest.h>
#include <chrono>
#include <thread>
#include "net/NetTestSupport.h"
#include "platform/Process.h"
#include "support/TestSupport.h"

namespace tarvoke::test {
namespace {

struct Chatter {
    std::string name;
    const char* how;  // "host" or "join 127.0.0.1"
};

bool waitForText(const std::string& path, const std::string& text, int timeoutMs) {
    for (int waited = 0; readFile(path).find(text) == std::string::npos; waited += 10) {
        if (waited >= timeoutMs) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

TEST(ChatExample, EveryoneSeesTheOthersLines) {
    const Chatter chatters[] = {{"Hanna", "host"}, {"Anna", "join 127.0.0.1"}, {"Bert", "join 127.0.0.1"}};
    ScopedTempDir temp;
    const std::string port = std::to_string(freePort());
    // Bounded, so that no shell outlives a failed test by more than a few seconds.
    auto waitForFile = [&](const char* name) {
        return "for i in $(seq 400); do [ -f " + temp.file(name) + " ] && break; sleep 0.02; done; ";
    };
    std::vector<platform::ProcessId> games;
    for (const Chatter& c : chatters) {
        // Each types its line once everyone is in, and "/quit" when the test is done.
        const std::string typing = "(" + waitForFile("go") + "echo 'line of " + c.name + "'; " + waitForFile("end") + "echo /quit)";
        games.push_back(platform::startProcess(typing + " | exec " + TARVOKE_CHAT + " " + c.how + " " + port + " " + c.name +
                                               " > " + temp.file(c.name + ".txt")));
        // The clients start together once the host is in.
        if (&c == &chatters[0]) {
            ASSERT_TRUE(waitForText(temp.file(c.name + ".txt"), "in the game", 10000));
        }
    }
    for (const Chatter& c : chatters) ASSERT_TRUE(waitForText(temp.file(c.name + ".txt"), "in the game", 10000)) << c.name;
    writeFile(temp.file("go"), "");
    for (const Chatter& reader : chatters)
        for (const Chatter& writer : chatters)
            waitForText(temp.file(reader.name + ".txt"), writer.name + ": line of " + writer.name, 5000);
    writeFile(temp.file("end"), "");
    for (platform::ProcessId game : games) {
        int code = -1;
        EXPECT_TRUE(platform::waitProcess(game, 10000, code));
        EXPECT_EQ(code, 0);
    }
    for (const Chatter& reader : chatters) {
        const std::string seen = readFile(temp.file(reader.name + ".txt"));
        for (const Chatter& writer : chatters) {
            const std::string line = writer.name + ": line of " + writer.name;
            const bool own = &reader == &writer;
            EXPECT_NE(seen.find((own ? "sent: " : "got: ") + line), std::string::npos) << reader.name << " / " << line;
            if (own) {
                EXPECT_EQ(seen.find("got: " + line), std::string::npos) << "not echoed to " << reader.name;
            }
        }
    }
    const std::string hostSaw = readFile(temp.file("Hanna.txt"));
    EXPECT_NE(hostSaw.find("got: * Anna joined"), std::string::npos);
    EXPECT_NE(hostSaw.find("got: * Bert joined"), std::string::npos);
}

} // namespace
} // namespace tarvoke::test
