// X11 windows carry every size of their icon in one property; other desktops (Wayland) find the
// icon through the desktop entry, and SDL's one picture is what they get.
#include "engine/platform/IconList.h"

#include <SDL.h>

#ifdef DOVI_X11
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#endif

namespace cocos2d::IconList {

#ifdef DOVI_X11
void give(SDL_Window* window, const std::vector<IconPicture>& pictures) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
    // Xlib hands 32-bit properties over as longs: width, height, then the pixels, per picture.
    std::vector<unsigned long> list;
    for (const IconPicture& picture : pictures) {
        list.push_back(unsigned(picture.size));
        list.push_back(unsigned(picture.size));
        list.insert(list.end(), picture.argb.begin(), picture.argb.end());
    }
    ::Display* display = info.info.x11.display;
    const Atom icon = XInternAtom(display, "_NET_WM_ICON", False);
    XChangeProperty(display, info.info.x11.window, icon, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(list.data()), int(list.size()));
    XFlush(display);
}
#else
void give(SDL_Window*, const std::vector<IconPicture>&) {}
#endif

} // namespace cocos2d::IconList
