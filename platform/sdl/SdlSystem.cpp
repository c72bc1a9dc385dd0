// The battery, through SDL's power information.
#include <SDL.h>
#include "platform/System.h"

namespace tarvoke::platform {

int batteryPercent() {
    int percent = -1;
    const SDL_PowerState state = SDL_GetPowerInfo(nullptr, &percent);
    if (state == SDL_POWERSTATE_UNKNOWN || state == SDL_POWERSTATE_NO_BATTERY || percent < 0) return 255;
    return percent;
}

} // namespace tarvoke::platform
