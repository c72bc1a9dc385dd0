// Frame pacing: 600 empty frames at 60 frames per second through showScreen. Reports the mean
// period, its standard deviation, the 99th-percentile and the worst lateness past a frame's slot
// and the CPU share of one core the process used meanwhile. Run under Xvfb (or with SDL_VIDEODRIVER=offscreen).
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>
#include "core/Engine.h"

namespace {

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void FramePacing60Hz(benchmark::State& state) {
    using namespace tarvoke;
    if (!std::getenv("DISPLAY")) setenv("SDL_VIDEODRIVER", "offscreen", 0);
    projectSettings = ProjectSettings{};
    initEngine("Frame pacing");
    const int frames = int(state.range(0));
    for (auto _ : state) {
        std::vector<double> periods, lateness;
        showScreen();  // settle on the grid
        double previous = now();
        const double cpuStart = cpuSeconds();
        const double wallStart = previous;
        for (int frame = 0; frame < frames; ++frame) {
            const double slot = frameClock().nextFrameTime;
            showScreen();
            const double shown = now();
            periods.push_back(shown - previous);
            lateness.push_back(shown - slot);
            previous = shown;
        }
        const double cpuShare = (cpuSeconds() - cpuStart) / ((now() - wallStart) / 1000.0);
        double mean = 0;
        for (double p : periods) mean += p;
        mean /= double(periods.size());
        double variance = 0;
        for (double p : periods) variance += (p - mean) * (p - mean);
        state.counters["mean_period_ms"] = mean;
        state.counters["stddev_ms"] = std::sqrt(variance / double(periods.size()));
        std::sort(lateness.begin(), lateness.end());
        // A single preempted frame decides the worst; the 99th percentile shows the limiter itself.
        state.counters["p99_late_ms"] = lateness[lateness.size() * 99 / 100];
        state.counters["worst_late_ms"] = lateness.back();
        state.counters["cpu_percent"] = cpuShare * 100.0;
    }
    shutdownEngine();
}

} // namespace

BENCHMARK(FramePacing60Hz)->Arg(600)->Iterations(1)->Unit(benchmark::kMillisecond);
