#include "graphics2d/OpenGLKestrel.h"
#include "graphics2d/Screens.h"
#include "platform/Platform.h"

namespace tarvoke {

OpenGLKestrel* openGLKestrel = nullptr;

OpenGLKestrel::OpenGLKestrel() {
    const std::uint64_t frequency = platform::counterFrequency();
    useCounter = frequency > 0;
    counterFrequency = double(frequency);
    nextFrameTime = now();
}

OpenGLKestrel::~OpenGLKestrel() {
    if (main.glReady) releaseScreens();
    closeWindow();
}

double OpenGLKestrel::now() const {
    if (useCounter) return double(platform::counterValue()) * 1000.0 / counterFrequency;
    return double(platform::tickMilliseconds());
}

} // namespace tarvoke
