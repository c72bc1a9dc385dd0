// Game-session throughput and latency on loopback. The host runs in a child process (this
// program started with --host PORT); this process joins it with two players and measures
// messages per second from one to the other through the host, and the round trip of
// netPlayerCount (a request answered by the host's server part).
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include "net/Net.h"
#include "platform/Files.h"
#include "platform/Process.h"
#include "platform/Sockets.h"
#include "tarvoke/net.h"

namespace {

using namespace tarvoke;

constexpr int batch = 100;

struct Session {
    platform::ProcessId host = -1;
    StrValue sender, receiver;

    Session() {
        platform::Socket probe = platform::openListener(0);
        const std::string port = std::to_string(platform::localAddressOf(probe).port);
        probe.close();
        host = platform::startProgram({platform::executablePath(), "--host", port});
        startNet();
        for (int attempt = 0; attempt < 100 && netJoinGame("127.0.0.1", port.c_str()) != 1; ++attempt)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        sender = netCreatePlayer("sender");
        receiver = netCreatePlayer("receiver");
    }
    ~Session() {
        stopNet();
        platform::killProcess(host);
    }
};

Session& session() {
    static Session instance;
    return instance;
}

void MessagesThroughHost(benchmark::State& state) {
    Session& s = session();
    const StrValue text(std::string(std::size_t(state.range(0)), 'm').c_str());
    for (auto _ : state) {
        for (int i = 0; i < batch; ++i) netSendMessage(s.sender, s.receiver, text);
        for (int received = 0; received < batch;) {
            if (netGetMessage(s.receiver).length() > 0) ++received;
            else std::this_thread::yield();
        }
    }
    state.SetItemsProcessed(state.iterations() * batch);
    state.SetLabel("messages of " + std::to_string(state.range(0)) + " bytes");
}
BENCHMARK(MessagesThroughHost)->Arg(16)->Arg(1024)->UseRealTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

void PlayerCountRoundTrip(benchmark::State& state) {
    session();
    for (auto _ : state) benchmark::DoNotOptimize(netPlayerCount());
    state.SetLabel("netPlayerCount");
}
BENCHMARK(PlayerCountRoundTrip)->UseRealTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The host: a session that serves until the benchmark ends it.
int runHost(const char* port) {
    startNet();
    if (netHostGame(port) != 1) return 1;
    for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--host") == 0) return runHost(argv[2]);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
