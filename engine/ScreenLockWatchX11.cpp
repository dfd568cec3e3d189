// The screen-lock watch on an X11 desktop: a connection of the game's own to the display, to
// try the keyboard grab now and then and to hear whether the window is covered. Built without
// X11 (the browser), there is nothing to watch.
#include "ScreenLockWatch.h"

#ifndef DOVI_X11
namespace cocos2d {
std::unique_ptr<ScreenLockWatch> ScreenLockWatch::create(SDL_Window*) {
    return nullptr;
}
} // namespace cocos2d
#else

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>

namespace cocos2d {

namespace {

// How often the keyboard is tried: a held grab is seen within this, and a key pressed in the
// instant the game holds the keyboard itself goes nowhere, so seldom.
constexpr unsigned kTryEveryMs = 250;

class X11ScreenLockWatch : public ScreenLockWatch {
  public:
    X11ScreenLockWatch(Display* display, Window window) : _display(display), _window(window) {
        XSelectInput(_display, _window, VisibilityChangeMask);
        XFlush(_display);
    }
    ~X11ScreenLockWatch() override { XCloseDisplay(_display); }

    bool locked(unsigned now) override {
        while (XPending(_display) > 0) {
            XEvent event;
            XNextEvent(_display, &event);
            if (event.type == VisibilityNotify) _covered = event.xvisibility.state == VisibilityFullyObscured;
        }
        if (now - _triedAt >= kTryEveryMs) {
            _triedAt = now;
            tryKeyboard(now);
        }
        return _covered || (_grabbed && now - _grabbedSince > kGrabMs);
    }

  private:
    void tryKeyboard(unsigned now) {
        const int result = XGrabKeyboard(_display, DefaultRootWindow(_display), False, GrabModeAsync,
                                         GrabModeAsync, CurrentTime);
        if (result == GrabSuccess) {
            XUngrabKeyboard(_display, CurrentTime);
            XFlush(_display);
            _grabbed = false;
            return;
        }
        if (result != AlreadyGrabbed) return;
        if (!_grabbed) _grabbedSince = now;
        _grabbed = true;
    }

    Display* _display;
    Window _window;
    bool _covered = false;
    bool _grabbed = false;
    unsigned _grabbedSince = 0;
    unsigned _triedAt = 0;
};

} // namespace

std::unique_ptr<ScreenLockWatch> ScreenLockWatch::create(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return nullptr;
    Display* own = XOpenDisplay(DisplayString(info.info.x11.display));
    if (!own) return nullptr;
    return std::make_unique<X11ScreenLockWatch>(own, info.info.x11.window);
}

} // namespace cocos2d

#endif
