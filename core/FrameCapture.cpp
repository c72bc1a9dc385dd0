// Developer capture: after a given number of frames, the frame is saved as PNG and the program
// ends, so anyone can see what the engine shows without a monitor.
#include <GL/gl.h>
#include <cstdio>
#include <vector>
#include "core/Engine.h"
#include "graphics2d/OpenGLKestrel.h"
#include "graphics2d/PngWriter.h"

namespace tarvoke {
namespace {

int framesLeft = 0;
std::string capturePath;

// The back buffer, read before the swap (after it, its contents are undefined).
std::vector<std::uint8_t> readBackBuffer(int width, int height) {
    std::vector<std::uint8_t> bottomUp(std::size_t(width) * std::size_t(height) * 4);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    const std::size_t rowBytes = std::size_t(width) * 4;
    std::vector<std::uint8_t> topDown(bottomUp.size());
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* from = bottomUp.data() + std::size_t(height - 1 - y) * rowBytes;
        std::copy(from, from + rowBytes, topDown.begin() + std::ptrdiff_t(std::size_t(y) * rowBytes));
    }
    for (std::size_t alpha = 3; alpha < topDown.size(); alpha += 4) topDown[alpha] = 255;
    return topDown;
}

} // namespace

void armFrameCapture(int frameCount, const std::string& pngPath) {
    framesLeft = frameCount;
    capturePath = pngPath;
}

bool captureFrameIfDue() {
    if (framesLeft <= 0 || --framesLeft > 0) return false;
    const OpenGLKestrel* kestrel = openGLKestrel;
    if (kestrel && !capturePath.empty()) {
        const int width = kestrel->main.screenWidth;
        const int height = kestrel->main.screenHeight;
        const std::vector<std::uint8_t> pixels = readBackBuffer(width, height);
        if (!writePngFile(capturePath, width, height, pixels.data()))
            std::fprintf(stderr, "could not write the screenshot %s\n", capturePath.c_str());
    }
    return true;
}

} // namespace tarvoke
