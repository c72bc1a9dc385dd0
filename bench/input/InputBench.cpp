// What reading input costs a frame: testing every key code, taking a typed character, reading
// the mouse and a (virtual) joystick, and, for comparison, one pass of the window system's
// event queue, which keyDown does at most once a millisecond. Run under Xvfb (or with
// SDL_VIDEODRIVER=offscreen).
#include <benchmark/benchmark.h>
#include <cstdlib>
#include "platform/Events.h"
#include "platform/Joysticks.h"
#include "tarvoke.h"

namespace {

void startOnce() {
    static bool started = false;
    if (started) return;
    started = true;
    if (!std::getenv("DISPLAY")) setenv("SDL_VIDEODRIVER", "offscreen", 0);
    tarvoke::platform::attachVirtualJoystick("Bench pad", 6, 32, 1);
    tarvoke::projectSettings = tarvoke::ProjectSettings{};
    tarvoke::initEngine("Input bench");
}

void KeyDownEveryKeyCode(benchmark::State& state) {
    startOnce();
    for (auto _ : state)
        for (int code = 0; code < 256; ++code) benchmark::DoNotOptimize(tarvoke::keyDown(code));
    state.SetItemsProcessed(state.iterations() * 256);
}
BENCHMARK(KeyDownEveryKeyCode);

void Inkey(benchmark::State& state) {
    startOnce();
    for (auto _ : state) benchmark::DoNotOptimize(tarvoke::inkey());
}
BENCHMARK(Inkey);

void MouseAxis(benchmark::State& state) {
    startOnce();
    for (auto _ : state) benchmark::DoNotOptimize(tarvoke::mouseAxis(0));
}
BENCHMARK(MouseAxis);

void JoystickX(benchmark::State& state) {
    startOnce();
    for (auto _ : state) benchmark::DoNotOptimize(tarvoke::joystickX(0));
}
BENCHMARK(JoystickX);

void TakeInputEvents(benchmark::State& state) {
    startOnce();
    for (auto _ : state) tarvoke::platform::takeInputEvents([](const tarvoke::platform::Event&) {});
}
BENCHMARK(TakeInputEvents);

} // namespace
