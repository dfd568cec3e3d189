// A screen locker on a real (virtual) X display: another program holding the keyboard taken from
// the game's window for more than a second, or a locker's window over the game's, counts as
// locked; a hot key's brief grab does not. Watching never takes a key from a program typed into
// beside the game.
#include "engine/platform/ScreenLockWatch.h"
#include "tests/support/VirtualDisplay.h"

#include <SDL.h>
#include <gtest/gtest.h>
// After the test library: X11 defines names such as None and Bool.
#include <SDL_syswm.h>
#include <X11/Xlib.h>

#include <string>

namespace {

using xtest::spawn;
using xtest::stop;

// A display of its own with a window of the game's and the watch on it.
class ScreenLock : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::system("command -v Xvfb >/dev/null && command -v i3lock >/dev/null && "
                        "command -v xdotool >/dev/null") != 0)
            GTEST_SKIP() << "needs Xvfb, i3lock and xdotool";
        display = xvfb.start("800x600x24");
        ASSERT_NE("", display) << "Xvfb did not start";
        setenv("DISPLAY", display.c_str(), 1);
        setenv("SDL_VIDEODRIVER", "x11", 1);
        ASSERT_EQ(0, SDL_InitSubSystem(SDL_INIT_VIDEO)) << SDL_GetError();
        window = SDL_CreateWindow("locked?", 0, 0, 320, 240, SDL_WINDOW_SHOWN);
        watch = cocos2d::ScreenLockWatch::create(window);
        ASSERT_TRUE(watch);
        other = XOpenDisplay(display.c_str());
        ASSERT_TRUE(other);
    }
    void TearDown() override {
        if (other) XCloseDisplay(other);
        watch.reset();
        if (window) SDL_DestroyWindow(window);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        setenv("SDL_VIDEODRIVER", "dummy", 1);
    }
    // Polls for up to `seconds` of real time: whether `locked()` ever said `wanted`.
    bool seen(double seconds, bool wanted) {
        for (const Uint32 end = SDL_GetTicks() + static_cast<Uint32>(seconds * 1000); SDL_GetTicks() < end;
             SDL_Delay(20))
            if (watch->locked(SDL_GetTicks()) == wanted) return true;
        return false;
    }
    // Gives a window the keyboard as a window manager would, once it is on screen.
    void focus(Window w) {
        for (int n = 0; n < 1200; ++n) {
            XWindowAttributes a{};
            if (XGetWindowAttributes(other, w, &a) && a.map_state == IsViewable) break;
            SDL_Delay(50);
        }
        XSetInputFocus(other, w, RevertToParent, CurrentTime);
        XSync(other, False);
    }
    Window gameWindow() {
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        return SDL_GetWindowWMInfo(window, &info) ? info.info.x11.window : 0;
    }

    std::string display;
    xtest::VirtualDisplay xvfb;
    SDL_Window* window = nullptr;
    std::unique_ptr<cocos2d::ScreenLockWatch> watch;
    Display* other = nullptr;
};

} // namespace

TEST_F(ScreenLock, ALockerIsSeenAndAHotKeysBriefGrabIsNot) {
    focus(gameWindow());
    XGrabKeyboard(other, DefaultRootWindow(other), False, GrabModeAsync, GrabModeAsync, CurrentTime);
    XFlush(other);
    EXPECT_FALSE(seen(0.6, true)) << "a brief grab";
    EXPECT_TRUE(seen(30, true)) << "a grab held on";
    XUngrabKeyboard(other, CurrentTime);
    XFlush(other);
    EXPECT_TRUE(seen(30, false));

    const pid_t locker = spawn({"i3lock", "-n"});
    EXPECT_TRUE(seen(30, true)) << "i3lock";
    stop(locker);
    EXPECT_TRUE(seen(30, false)) << "unlocked";
}

TEST_F(ScreenLock, TheScreenSaverComingOnIsALock) {
    if (std::system("command -v xset >/dev/null") != 0) GTEST_SKIP() << "needs xset";
    // The server blanks the screen itself: no window covers the game's, no keyboard is taken.
    const std::string xset = "xset -display " + display + " s ";
    ASSERT_EQ(0, std::system((xset + "activate").c_str()));
    EXPECT_TRUE(seen(30, true)) << "the saver on";
    ASSERT_EQ(0, std::system((xset + "reset").c_str()));
    EXPECT_TRUE(seen(30, false)) << "the saver off";
    // Already on when the watch starts.
    ASSERT_EQ(0, std::system((xset + "activate").c_str()));
    watch = cocos2d::ScreenLockWatch::create(window);
    EXPECT_TRUE(watch->locked(SDL_GetTicks())) << "the saver on at the start";
}

TEST_F(ScreenLock, AProgramTypedIntoBesideTheGameGetsEveryKey) {
    // A window of another program, with the keyboard, counting what it is given.
    Window typedInto = XCreateSimpleWindow(other, DefaultRootWindow(other), 400, 300, 200, 100, 0, 0, 0);
    XSelectInput(other, typedInto, KeyPressMask | KeyReleaseMask);
    XMapWindow(other, typedInto);
    focus(typedInto);
    constexpr int kKeys = 1500;
    const pid_t typist = spawn({"xdotool", "key", "--delay", "1", "--repeat", std::to_string(kKeys), "a"});
    int events = 0, status = 0;
    bool typing = true;
    // Frames as fast as they come, each as if a probe's worth of time had gone by.
    unsigned now = 0;
    Uint32 end = SDL_GetTicks() + 120000;
    while (SDL_GetTicks() < end && events < 2 * kKeys) {
        watch->locked(now += 1000);
        if (typing && waitpid(typist, &status, WNOHANG) == typist) {
            typing = false;
            end = SDL_GetTicks() + 10000; // for the last keys to arrive
        }
        while (XPending(other) > 0) {
            XEvent e;
            XNextEvent(other, &e);
            events += e.type == KeyPress || e.type == KeyRelease;
        }
        SDL_Delay(1);
    }
    if (typing) stop(typist);
    EXPECT_EQ(2 * kKeys, events) << "presses and releases the other program was given";
}
