// playMovie in this process on the offscreen driver, with clips made by the ffmpeg tool; and the
// arithmetic of fitting and timing a movie.
#include <gtest/gtest.h>
#include <GL/gl.h>
#include <GL/glext.h>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include "core/FrameClock.h"
#include "support/EngineTest.h"
#include "support/MovieClips.h"
#include "support/ScreenReadback.h"
#include "video/MovieTiming.h"
#include "video/Video.h"

namespace tarvoke {
namespace {

TEST(MovieTiming, TheMovieKeepsItsShapeCentredInTheWindow) {
    const struct { int clientWidth, clientHeight; double width, height; MovieRect rect; } cases[] = {
        {640, 480, 320, 120, {0, 120, 640, 240}},    // wider: bands above and below
        {640, 480, 120, 320, {230, 0, 180, 480}},    // taller: bands left and right
        {640, 480, 1920, 1080, {0, 60, 640, 360}},   // larger: made smaller
        {640, 480, 320, 240, {0, 0, 640, 480}},      // the window's own shape fills it
        {800, 600, 100, 0, {0, 0, 0, 0}},            // no picture
    };
    for (const auto& c : cases) {
        const MovieRect rect = fitMovie(c.clientWidth, c.clientHeight, c.width, c.height);
        EXPECT_EQ(std::make_tuple(rect.x, rect.y, rect.width, rect.height),
                  std::make_tuple(c.rect.x, c.rect.y, c.rect.width, c.rect.height)) << c.width << " x " << c.height;
    }
}

TEST(MovieTiming, TheSoundClockMovesThroughEachBlockAndWaitsWhenTheSoundRunsDry) {
    SoundClock clock(1000);
    const struct { std::uint64_t played; double wall, seconds; } steps[] = {
        {0, 0.0, 0.0},      {100, 1.0, 0.0},     // a block of 100 frames taken: it starts playing
        {100, 1.05, 0.05},  {100, 1.5, 0.1},     // and ends 100 ms later
        {100, 2.0, 0.1},                         // no new block: the clock waits
        {200, 2.1, 0.1},    {200, 2.15, 0.15},   // the next block goes on from there
        {260, 2.16, 0.2},   {260, 2.15, 0.2},    // never backwards
    };
    for (const auto& step : steps) EXPECT_NEAR(clock.at(step.played, step.wall), step.seconds, 1e-9) << step.wall;
}

class Movie : public test::EngineTest {
protected:
    std::string clip(const std::string& name, int width, int height) {
        const std::string path = temp.file(name);
        EXPECT_TRUE(test::makeClip(path, width, height)) << name;
        return path;
    }
};

TEST_F(Movie, MissingOrDamagedFilesAnswerThreeWithoutPlaying) {
    const std::string real = clip("real.mp4", 64, 48);
    const std::string bytes = test::readFile(real);
    test::writeFile(temp.file("empty.mp4"), "");
    test::writeFile(temp.file("text.avi"), "not a movie at all\n");
    test::writeFile(temp.file("head.mp4"), bytes.substr(0, 64));  // cut before its index
    std::string noise(8192, '\0');
    for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = char((i * 7919) >> 3);
    test::writeFile(temp.file("noise.mp4"), noise);
    for (const char* name : {"missing.mp4", "empty.mp4", "text.avi", "head.mp4", "noise.mp4", ""}) {
        const double start = now();
        EXPECT_EQ(playMovie(name[0] ? temp.file(name).c_str() : "", 0), 3) << name;
        EXPECT_LT(now() - start, 1000) << name << ": no playing, no waiting";
        EXPECT_EQ(lastMovieStatistics().shown, 0) << name;
    }
    // Its index intact, its data zeroed: it opens, nothing decodes, and looping must not spin.
    std::string zeroed = bytes;
    const std::size_t box = zeroed.find("mdat") - 4;
    const std::size_t boxSize = std::size_t(std::uint8_t(zeroed[box])) << 24 | std::size_t(std::uint8_t(zeroed[box + 1])) << 16 |
                                std::size_t(std::uint8_t(zeroed[box + 2])) << 8 | std::uint8_t(zeroed[box + 3]);
    ASSERT_LE(box + boxSize, zeroed.size());
    std::fill(zeroed.begin() + std::ptrdiff_t(box + 8), zeroed.begin() + std::ptrdiff_t(box + boxSize), '\0');
    test::writeFile(temp.file("zeroed.mp4"), zeroed);
    const double start = now();
    playMovie(temp.file("zeroed.mp4").c_str(), 1);
    EXPECT_LT(now() - start, 1000) << "a looping movie with nothing to show ends by itself";
    EXPECT_EQ(lastMovieStatistics().shown, 0);
    EXPECT_LE(lastMovieStatistics().passes, 1);
}

TEST_F(Movie, AClipPlaysInTimeAndLeavesTheFrameAndTheDrawingStateAsTheyWere) {
    const std::string path = clip("wide.mp4", 320, 120);
    test::fillRect(0, 0, 640, 480, 10, 20, 30);
    test::fillRect(100, 50, 200, 100, 200, 100, 0);
    setViewport(20, 10, 300, 200);
    setAlphaMode(-0.5);
    const std::vector<std::uint8_t> before = test::readScreenRgba(0, 0, 640, 480);
    std::array<GLint, 4> viewport{}, viewportAfter{};
    std::array<GLfloat, 16> projection{}, projectionAfter{};
    glGetIntegerv(GL_VIEWPORT, viewport.data());
    glGetFloatv(GL_PROJECTION_MATRIX, projection.data());

    const double start = now();
    EXPECT_EQ(playMovie(path.c_str(), 0), 0);
    const double took = now() - start;
    EXPECT_GE(took, 900) << "a 1 s clip plays for its length";
    EXPECT_LT(took, 5000);
    const MovieStatistics played = lastMovieStatistics();
    EXPECT_EQ(played.shown + played.dropped, 30);
    EXPECT_GE(played.shown, 15);
    EXPECT_EQ(played.passes, 1);

    EXPECT_TRUE(test::readScreenRgba(0, 0, 640, 480) == before) << "the frame being drawn is kept";
    glGetIntegerv(GL_VIEWPORT, viewportAfter.data());
    glGetFloatv(GL_PROJECTION_MATRIX, projectionAfter.data());
    EXPECT_EQ(viewportAfter, viewport);
    EXPECT_EQ(projectionAfter, projection);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    // Drawing that went into an offscreen screen goes there again afterwards.
    createScreen(0, 500, 64, 64);
    useScreen(0);
    GLint framebuffer = 0, framebufferAfter = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &framebuffer);
    EXPECT_EQ(playMovie(path.c_str(), 0), 0);
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &framebufferAfter);
    EXPECT_NE(framebuffer, 0);
    EXPECT_EQ(framebufferAfter, framebuffer);
    useScreen(-1);
}

// SDL's disk driver writes what the output played; the clip's tone must be there, in time.
TEST(MovieSound, TheSoundReachesTheOutput) {
    test::ScopedTempDir temp;
    ASSERT_TRUE(test::makeClip(temp.file("tone.mp4"), 64, 48));
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", temp.file("out.pcm").c_str(), 1);
    {
        test::EngineRun engine;
        EXPECT_EQ(playMovie(temp.file("tone.mp4").c_str(), 0), 0);
    }
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const std::string bytes = test::readFile(temp.file("out.pcm"));
    std::vector<std::int16_t> left;
    int mismatched = 0;
    for (std::size_t at = 0; at + 4 <= bytes.size(); at += 4) {
        std::int16_t frame[2];
        std::memcpy(frame, bytes.data() + at, 4);
        left.push_back(frame[0]);
        mismatched += frame[0] != frame[1];
    }
    EXPECT_EQ(mismatched, 0) << "the mono tone sounds on both sides";
    int loud = 0, crossings = 0;
    for (std::size_t i = 1; i < left.size(); ++i) {
        loud += std::abs(left[i]) > 1000;
        crossings += (left[i - 1] < 0) != (left[i] < 0) && std::abs(left[i] - left[i - 1]) > 100;
    }
    EXPECT_NEAR(loud, 0.7 * 22050, 0.15 * 22050) << "about a second of tone";  // a sine is loud 70 % of its time
    EXPECT_NEAR(crossings / 2, test::clipToneHz, test::clipToneHz * 0.05) << "at its own pitch";
}

} // namespace
} // namespace tarvoke
