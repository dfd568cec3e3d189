#include "engine/platform/Display.h"

#include "engine/base/Log.h"

#include <SDL.h>
#include <cstdlib>
#include <string>

namespace cocos2d {

namespace {
const char* variable(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? value : nullptr;
}
} // namespace

bool Display::headlessRequested() {
    const char* driver = variable("SDL_VIDEODRIVER");
    if (!driver) return false;
    const std::string asked = driver;
    return asked.find("dummy") != std::string::npos || asked.find("offscreen") != std::string::npos;
}

bool Display::open() {
    if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
    if (!variable("SDL_VIDEODRIVER")) {
        // Only the drivers that show a window to someone, and only where the desktop says one
        // is running (a missing Wayland socket makes its library print warnings of its own).
        std::string drivers;
        if (variable("DISPLAY")) drivers += "x11,";
        if (variable("WAYLAND_DISPLAY")) drivers += "wayland,";
        drivers += "kmsdrm";
        SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
    }
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return true;
    // What was tried, in the player's words.
    std::string tried;
    for (const char* name : {"SDL_VIDEODRIVER", "DISPLAY", "WAYLAND_DISPLAY"})
        if (const char* value = variable(name))
            tried += std::string(tried.empty() ? "" : ", ") + name + "=" + value;
    if (tried.empty())
        warn("no display to open a window on: neither DISPLAY nor WAYLAND_DISPLAY is set");
    else
        warn("no display to open a window on: cannot reach %s (%s)", tried.c_str(), SDL_GetError());
    return false;
}

} // namespace cocos2d
