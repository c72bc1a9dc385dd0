// Frame cost of many sprites and text lines through the engine's commands, beside the same
// quads drawn by a plain loop of immediate-mode GL calls in the same run; the ratio of the two
// is the figure. Each frame ends with glFinish, so the drawing itself is timed.
#include <benchmark/benchmark.h>
#include <GL/gl.h>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <vector>
#include "graphics2d/ImageFiles.h"
#include "graphics2d/OpenGLKestrel.h"
#include "graphics2d/PngWriter.h"
#include "tarvoke.h"

namespace {

using namespace tarvoke;

constexpr int spriteCount = 10000;
constexpr int spriteSide = 32;
constexpr int textLines = 2000;

struct Scene {
    std::string folder = std::filesystem::temp_directory_path().string() + "/tarvoke-bench-drawing";
    Scene() {
        std::filesystem::create_directories(folder);
        std::vector<std::uint8_t> rgba(spriteSide * spriteSide * 4);
        for (std::size_t i = 0; i < rgba.size(); i += 4) {
            rgba[i] = std::uint8_t(i);
            rgba[i + 1] = 128;
            rgba[i + 2] = std::uint8_t(255 - i);
            rgba[i + 3] = (i / 4) % 7 == 0 ? 0 : 255;  // some transparent texels for the alpha test
        }
        writePngFile(folder + "/sprite.png", spriteSide, spriteSide, rgba.data());
        if (!std::getenv("DISPLAY")) setenv("SDL_VIDEODRIVER", "offscreen", 0);
        initEngine("Drawing");
        loadSprite(StrValue((folder + "/sprite.png").c_str()), 1);
    }
    ~Scene() {
        shutdownEngine();
        std::filesystem::remove_all(folder);
    }
};

Scene& scene() {
    static Scene instance;
    return instance;
}

float spriteX(int i) { return float((i * 37) % (640 - spriteSide)); }
float spriteY(int i) { return float((i * 53) % (480 - spriteSide)); }

void EngineDrawSprite(benchmark::State& state) {
    scene();
    for (auto _ : state) {
        for (int i = 0; i < spriteCount; ++i) drawSprite(1, spriteX(i), spriteY(i));
        glFinish();
    }
}

void EngineRotoZoomSprite(benchmark::State& state) {
    scene();
    for (auto _ : state) {
        for (int i = 0; i < spriteCount; ++i) rotoZoomSprite(1, spriteX(i), spriteY(i), i % 360, 1.0);
        glFinish();
    }
}

// The same textured quads, bound and drawn one by one with nothing else around them.
void PlainGlQuads(benchmark::State& state) {
    scene();
    const GLuint texture = openGLKestrel->sprites.slot(1).texture.name();
    for (auto _ : state) {
        for (int i = 0; i < spriteCount; ++i) {
            const float x = spriteX(i), y = spriteY(i);
            glBindTexture(GL_TEXTURE_2D, texture);
            glBegin(GL_QUADS);
            glTexCoord2f(1, 1);
            glVertex2f(x + spriteSide, y);
            glTexCoord2f(0, 1);
            glVertex2f(x, y);
            glTexCoord2f(0, 0);
            glVertex2f(x, y + spriteSide);
            glTexCoord2f(1, 0);
            glVertex2f(x + spriteSide, y + spriteSide);
            glEnd();
        }
        glFinish();
    }
}

// The same rotated quads with the matrix calls a plain program would make.
void PlainGlRotatedQuads(benchmark::State& state) {
    scene();
    const GLuint texture = openGLKestrel->sprites.slot(1).texture.name();
    const float half = spriteSide / 2.0f, inset = 0.5f / spriteSide, far = (spriteSide - 0.5f) / spriteSide;
    for (auto _ : state) {
        for (int i = 0; i < spriteCount; ++i) {
            glBindTexture(GL_TEXTURE_2D, texture);
            glPushMatrix();
            glTranslatef(spriteX(i) + half, spriteY(i) + half, 0);
            glRotatef(float(i % 360), 0, 0, -1);
            glBegin(GL_QUADS);
            glTexCoord2f(inset, inset);
            glVertex2f(-half, half);
            glTexCoord2f(far, inset);
            glVertex2f(half, half);
            glTexCoord2f(far, far);
            glVertex2f(half, -half);
            glTexCoord2f(inset, far);
            glVertex2f(-half, -half);
            glEnd();
            glPopMatrix();
        }
        glFinish();
    }
}

const char textLine[] = "Tarvoke text line 0123456789";

void EnginePrintText(benchmark::State& state) {
    scene();
    const StrValue line(textLine);
    for (auto _ : state) {
        for (int i = 0; i < textLines; ++i) printText(line, (i * 7) % 400, (i * 11) % 470);
        glFinish();
    }
}

// The same character quads: the font's texture, one quad of four corners a character.
void PlainGlTextQuads(benchmark::State& state) {
    scene();
    const SpriteSlot& font = openGLKestrel->sprites.slot(firstFontSlot);
    const float cellWidth = float(font.width / 16), cellHeight = float(font.height / 8);
    const float tw = (float(font.width) / font.textureWidth) / 16, th = (float(font.height) / font.textureHeight) / 8;
    for (auto _ : state) {
        for (int i = 0; i < textLines; ++i) {
            float x = float((i * 7) % 400);
            const float y = float((i * 11) % 470);
            glBindTexture(GL_TEXTURE_2D, font.texture.name());
            glBegin(GL_QUADS);
            for (const char* c = textLine; *c; ++c, x += cellWidth) {
                const int code = *c & 127, column = code % 16, row = code / 16;
                const float s0 = tw * column, t0 = th * float(7 - row);
                glTexCoord2f(s0, t0);
                glVertex3f(x, y + cellHeight, 0);
                glTexCoord2f(s0 + tw, t0);
                glVertex3f(x + cellWidth, y + cellHeight, 0);
                glTexCoord2f(s0 + tw, t0 + th);
                glVertex3f(x + cellWidth, y, 0);
                glTexCoord2f(s0, t0 + th);
                glVertex3f(x, y, 0);
            }
            glEnd();
        }
        glFinish();
    }
}

} // namespace

BENCHMARK(EnginePrintText)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(PlainGlTextQuads)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(EngineDrawSprite)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(PlainGlQuads)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(EngineRotoZoomSprite)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(PlainGlRotatedQuads)->Unit(benchmark::kMillisecond)->MinTime(3.0);
