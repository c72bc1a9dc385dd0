// The Duskify demo's frame cost at 640 x 480 without the frame limiter's wait (frame rate 0:
// slots 2 ms apart): mean and worst milliseconds per frame over 600 frames, with the shader and
// with the shader steps taken out.
#include <benchmark/benchmark.h>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include "DuskifyScene.h"
#include "core/Engine.h"
#include "platform/Files.h"

namespace {

using namespace tarvoke;

constexpr int frames = 600;

void startDemo() {
    static bool started = false;
    if (started) return;
    started = true;
    if (!std::getenv("DISPLAY")) setenv("SDL_VIDEODRIVER", "offscreen", 0);
    const std::string media = TARVOKE_DEMO_DIR;
    initEngine("Duskify");
    platform::setCurrentDirectory(media);  // the demo's media lie beside its executable
    setFrameRate(0);
    duskify::setUpScene();
}

void DuskifyFrames(benchmark::State& state) {
    startDemo();
    const bool withShader = state.range(0) != 0;
    for (auto _ : state) {
        double total = 0, worst = 0;
        double previous = now();
        for (int frame = 0; frame < frames; ++frame) {
            duskify::drawFrame(getTimerAll(), getTimerAll(), withShader);
            showScreen();
            const double shown = now();
            total += shown - previous;
            worst = std::max(worst, shown - previous);
            previous = shown;
        }
        state.counters["mean_ms"] = total / frames;
        state.counters["worst_ms"] = worst;
    }
}

} // namespace

BENCHMARK(DuskifyFrames)->ArgName("shader")->Arg(1)->Arg(0)->Iterations(1)->Unit(benchmark::kMillisecond);
