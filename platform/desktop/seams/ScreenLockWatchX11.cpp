// The screen-lock watch on an X11 desktop: a connection of the game's own to the display, to hear
// when the screen saver comes on (most lockers start with it), when another program takes the
// keyboard from the game's window and whether the window is covered. It only listens: it never
// grabs anything, so no key meant for another program is ever taken. The watch the game gets puts
// it together with the session bus's word; built without X11, the bus's word is all there is.
#include "platform/desktop/seams/ScreenLockWatchParts.h"

namespace cocos2d {

namespace {

// Locked as soon as either says so.
class EitherLockWatch : public ScreenLockWatch {
  public:
    EitherLockWatch(std::unique_ptr<ScreenLockWatch> a, std::unique_ptr<ScreenLockWatch> b)
        : _a(std::move(a)), _b(std::move(b)) {}
    bool locked(unsigned now) override {
        // Both asked every frame, so neither's events wait.
        const bool a = _a->locked(now);
        return _b->locked(now) || a;
    }

  private:
    std::unique_ptr<ScreenLockWatch> _a, _b;
};

} // namespace

std::unique_ptr<ScreenLockWatch> ScreenLockWatch::create(SDL_Window* window) {
    auto display = lockwatch::x11(window);
    auto session = lockwatch::sessionBus();
    if (display && session) return std::make_unique<EitherLockWatch>(std::move(display), std::move(session));
    return display ? std::move(display) : std::move(session);
}

} // namespace cocos2d

#ifndef DOVI_X11
namespace cocos2d::lockwatch {
std::unique_ptr<ScreenLockWatch> x11(SDL_Window*) {
    return nullptr;
}
} // namespace cocos2d::lockwatch
#else

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#ifdef DOVI_XSS
#include <X11/extensions/scrnsaver.h>
#endif

namespace cocos2d {

namespace {

class X11ScreenLockWatch : public ScreenLockWatch {
  public:
    X11ScreenLockWatch(Display* display, Window window) : _display(display), _window(window) {
        XSelectInput(_display, _window, VisibilityChangeMask | FocusChangeMask);
        hearSaver();
        XFlush(_display);
    }
    ~X11ScreenLockWatch() override { XCloseDisplay(_display); }

    bool locked(unsigned now) override {
        while (XPending(_display) > 0) {
            XEvent event;
            XNextEvent(_display, &event);
            if (event.type == VisibilityNotify) _covered = event.xvisibility.state == VisibilityFullyObscured;
            if (event.type == FocusIn || event.type == FocusOut) heard(event.xfocus, now);
#ifdef DOVI_XSS
            if (_saverEvents && event.type == _saverEvents + ScreenSaverNotify)
                _saverOn = reinterpret_cast<const XScreenSaverNotifyEvent&>(event).state != ScreenSaverOff;
#endif
        }
        return _covered || _saverOn || (_grabbed && now - _grabbedSince > kGrabMs);
    }

  private:
    // The server tells every change of its saver to whoever asks; a server without the extension
    // (or a build without its library) leaves the other signs.
    void hearSaver() {
#ifdef DOVI_XSS
        int errors = 0;
        if (!XScreenSaverQueryExtension(_display, &_saverEvents, &errors)) return;
        const Window root = DefaultRootWindow(_display);
        XScreenSaverSelectInput(_display, root, ScreenSaverNotifyMask);
        if (XScreenSaverInfo* info = XScreenSaverAllocInfo()) {
            if (XScreenSaverQueryInfo(_display, root, info)) _saverOn = info->state == ScreenSaverOn;
            XFree(info);
        }
#endif
    }

    // A locker (or a hot key) grabbing the keyboard while the window has it is told to the window
    // as the focus going to the grab, and coming back when the grab ends. SDL passes over both.
    void heard(const XFocusChangeEvent& focus, unsigned now) {
        if (focus.detail == NotifyInferior) return;
        const bool takenByGrab = focus.type == FocusOut && focus.mode == NotifyGrab;
        if (takenByGrab && !_grabbed) _grabbedSince = now;
        // Any other change: back from the grab, or gone elsewhere, which pauses the game anyway.
        _grabbed = takenByGrab;
    }

    Display* _display;
    Window _window;
    bool _covered = false;
    int _saverEvents = 0;
    bool _saverOn = false;
    bool _grabbed = false;
    unsigned _grabbedSince = 0;
};

} // namespace

std::unique_ptr<ScreenLockWatch> lockwatch::x11(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return nullptr;
    Display* own = XOpenDisplay(DisplayString(info.info.x11.display));
    if (!own) return nullptr;
    return std::make_unique<X11ScreenLockWatch>(own, info.info.x11.window);
}

} // namespace cocos2d

#endif
