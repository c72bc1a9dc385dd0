// Movie playback cost: a 640 x 480 and a 1920 x 1080 H.264 clip at 30 frames per second with AAC
// sound, made by the ffmpeg tool, played whole by playMovie into a 640 x 480 window. Reports the
// share of one core the process used while playing, and the pictures shown and dropped. Run
// under Xvfb (or with SDL_VIDEODRIVER=offscreen); SDL_AUDIODRIVER=dummy paces the sound.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <cstdlib>
#include <string>
#include "core/FrameClock.h"
#include "tarvoke.h"
#include "video/Video.h"

namespace {

constexpr int clipSeconds = 10;

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

std::string makeClip(int width, int height) {
    const char* tmpdir = std::getenv("TMPDIR");
    const std::string path = std::string(tmpdir ? tmpdir : "/tmp") + "/tarvoke-movie-bench-" + std::to_string(width) +
                             "x" + std::to_string(height) + ".mp4";
    const std::string command =
        "ffmpeg -v error -y -f lavfi -i testsrc2=s=" + std::to_string(width) + "x" + std::to_string(height) +
        ":r=30:d=" + std::to_string(clipSeconds) + " -f lavfi -i sine=frequency=440:sample_rate=44100:duration=" +
        std::to_string(clipSeconds) + " -c:v libx264 -preset veryfast -pix_fmt yuv420p -c:a aac -shortest " + path;
    return std::system(command.c_str()) == 0 ? path : std::string();
}

void PlayMovie(benchmark::State& state) {
    using namespace tarvoke;
    const std::string clip = makeClip(int(state.range(0)), int(state.range(1)));
    if (clip.empty()) {
        state.SkipWithError("ffmpeg could not make the clip");
        return;
    }
    if (!std::getenv("DISPLAY")) setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    projectSettings = ProjectSettings{};
    initEngine("Movie playback");
    for (auto _ : state) {
        const double cpuStart = cpuSeconds();
        const double wallStart = now();
        playMovie(clip.c_str(), 0);
        const double wallSeconds = (now() - wallStart) / 1000.0;
        const MovieStatistics played = lastMovieStatistics();
        state.counters["cpu_percent"] = (cpuSeconds() - cpuStart) / wallSeconds * 100.0;
        state.counters["seconds"] = wallSeconds;
        state.counters["shown"] = played.shown;
        state.counters["dropped"] = played.dropped;
    }
    shutdownEngine();
    std::remove(clip.c_str());
}

} // namespace

BENCHMARK(PlayMovie)->Args({640, 480})->Args({1920, 1080})->Iterations(1)->Unit(benchmark::kMillisecond);
