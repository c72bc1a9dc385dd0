#include "support/ScreenReadback.h"
#include <algorithm>
#include "graphics2d/OpenGLKestrel.h"

namespace tarvoke::test {
namespace {

int screenHeight() { return openGLKestrel ? openGLKestrel->main.screenHeight : 0; }

} // namespace

std::array<std::uint8_t, 4> readPixel(int x, int y) {
    std::array<std::uint8_t, 4> rgba{};
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, screenHeight() - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}

Rgb colourAt(int x, int y) {
    const auto p = readPixel(x, y);
    return {p[0], p[1], p[2]};
}

std::vector<std::uint8_t> readScreenRgba(int left, int top, int width, int height) {
    const std::size_t rowBytes = std::size_t(width) * 4;
    std::vector<std::uint8_t> bottomUp(rowBytes * std::size_t(height)), topDown(bottomUp.size());
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(left, screenHeight() - top - height, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    for (int row = 0; row < height; ++row)
        std::copy_n(&bottomUp[std::size_t(height - 1 - row) * rowBytes], rowBytes, &topDown[std::size_t(row) * rowBytes]);
    return topDown;
}

std::vector<std::uint8_t> textureTexels(GLuint texture, int width, int height, int level) {
    std::vector<std::uint8_t> texels(std::size_t(width) * std::size_t(height) * 4);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, level, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return texels;
}

void fillRect(int x, int y, int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE);
    glColor3ub(r, g, b);
    glBegin(GL_QUADS);
    glVertex2i(x, y);
    glVertex2i(x + width, y);
    glVertex2i(x + width, y + height);
    glVertex2i(x, y + height);
    glEnd();
}

} // namespace tarvoke::test
