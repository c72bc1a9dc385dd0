// Developer capture: after a given number of frames, the frame is saved as PNG and the program
// ends, so anyone can see what the engine shows without a monitor.
#include <cstdio>
#include "core/Engine.h"
#include "graphics2d/Graphics2D.h"

namespace tarvoke {
namespace {

int framesLeft = 0;
std::string capturePath;

} // namespace

void armFrameCapture(int frameCount, const std::string& pngPath) {
    framesLeft = frameCount;
    capturePath = pngPath;
}

bool captureFrameIfDue() {
    if (framesLeft <= 0 || --framesLeft > 0) return false;
    if (hasMainWindow() && !capturePath.empty() && !saveBackBufferAsPng(capturePath))
        std::fprintf(stderr, "could not write the screenshot %s\n", capturePath.c_str());
    return true;
}

} // namespace tarvoke
