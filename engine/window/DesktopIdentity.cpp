#include "engine/window/DesktopIdentity.h"

#include <SDL.h>
#include <cstdlib>

namespace cocos2d {

namespace {
DesktopIdentity& current() {
    static DesktopIdentity identity;
    return identity;
}
} // namespace

void DesktopIdentity::set(DesktopIdentity identity) {
    current() = std::move(identity);
    const DesktopIdentity& id = current();
    if (!id.appId.empty()) {
        // SDL reads these when its video starts: WM_CLASS on X11, the app id on Wayland.
        setenv("SDL_VIDEO_X11_WMCLASS", id.appId.c_str(), 0);
        setenv("SDL_VIDEO_WAYLAND_WMCLASS", id.appId.c_str(), 0);
    }
    // The name the sound server and the screen saver's inhibitor show.
    if (!id.name.empty()) SDL_SetHint(SDL_HINT_APP_NAME, id.name.c_str());
}

const DesktopIdentity& DesktopIdentity::get() {
    return current();
}

} // namespace cocos2d
