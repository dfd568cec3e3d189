// The real game in its window on a virtual desktop (Xvfb and openbox), as a player's session
// has it: the screen saver coming on pauses the game and going off lets it play on, and another
// program typed into beside the game gets every key while the game runs.
#include "tests/support/ProcessRunner.h"
#include "tests/support/VirtualDisplay.h"

#include <gtest/gtest.h>
// After the test library: X11 defines names such as None and Bool.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// Asks again every `step` until `holds`, for up to `seconds`: whether it ever held.
bool eventually(double seconds, const std::function<bool()>& holds,
                std::chrono::milliseconds step = std::chrono::milliseconds(100)) {
    const auto end = Clock::now() + std::chrono::duration<double>(seconds);
    for (; Clock::now() < end; std::this_thread::sleep_for(step))
        if (holds()) return true;
    return holds();
}

class GameBeside : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::system("command -v Xvfb >/dev/null && command -v openbox >/dev/null && "
                        "command -v xdotool >/dev/null && command -v xset >/dev/null") != 0)
            GTEST_SKIP() << "needs Xvfb, openbox, xdotool and xset";
        display = xvfb.start("1024x768x24");
        ASSERT_NE("", display) << "Xvfb did not start";
        x = XOpenDisplay(display.c_str());
        ASSERT_TRUE(x);
        // A window gone between two questions is asked again, not the end of the test.
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        home = makeTempDir();
        // Openbox runs its start-up command once it manages windows; a window mapped earlier may
        // be left unmanaged.
        const std::string ready = home + "/wm-ready";
        wm = xtest::spawn({"env", "DISPLAY=" + display, "openbox", "--startup", "touch " + ready});
        ASSERT_TRUE(eventually(120, [&] { return std::filesystem::exists(ready); }))
            << "openbox did not start";
        game = xtest::spawn({"env", "DISPLAY=" + display, "XDG_DATA_HOME=" + home, "SDL_VIDEODRIVER=x11",
                             "SDL_AUDIODRIVER=dummy", DOVI_BINARY_DIR "/doviveduzuz"});
        // Its picture changing shows frames coming, so the lock watch is on.
        ASSERT_TRUE(eventually(120, [&] { return moving(); })) << "the game's window never showed frames";
    }
    void TearDown() override {
        xtest::stop(game);
        xtest::stop(wm);
        if (x) XCloseDisplay(x);
    }

    // The game's window as shown, looked up each time: SDL may replace the first it opens.
    Window gameWindow() {
        const std::string find = "DISPLAY=" + display +
                                 " xdotool search --onlyvisible --name '^Doviveduzuz$' 2>/dev/null | head -1";
        FILE* out = popen(find.c_str(), "r");
        unsigned long id = 0;
        if (out) {
            if (std::fscanf(out, "%lu", &id) != 1) id = 0;
            pclose(out);
        }
        return id;
    }
    // A fingerprint of what the game's window shows now; 0 when it is not there.
    std::size_t picture() {
        const Window w = gameWindow();
        XWindowAttributes a{};
        if (!w || !XGetWindowAttributes(x, w, &a) || a.map_state != IsViewable) return 0;
        XImage* image = XGetImage(x, w, 0, 0, a.width, a.height, AllPlanes, ZPixmap);
        if (!image) return 0;
        const std::size_t print = std::hash<std::string_view>{}(
            std::string_view(image->data, image->bytes_per_line * image->height));
        XDestroyImage(image);
        return print;
    }
    // Whether the picture changed since it was last looked at.
    bool moving() {
        const std::size_t now = picture();
        const bool changed = now != 0 && last != 0 && now != last;
        last = now;
        return changed;
    }
    // Whether the picture has stayed the same over the last 1.5 s (the game draws 60 a second).
    bool stillFor() {
        const std::size_t before = picture();
        if (!before || before != last) {
            last = before;
            stillSince = Clock::now();
            return false;
        }
        return Clock::now() - stillSince > std::chrono::milliseconds(1500);
    }
    void xset(const std::string& what) {
        ASSERT_EQ(0, std::system(("xset -display " + display + " s " + what).c_str())) << what;
    }

    std::string display;
    xtest::VirtualDisplay xvfb;
    Display* x = nullptr;
    std::string home;
    pid_t wm = 0;
    pid_t game = 0;
    std::size_t last = 0;
    Clock::time_point stillSince;
};

} // namespace

TEST_F(GameBeside, TheScreenSaverPausesTheGameUntilItGoesOff) {
    // The server blanks the screen itself, as the first step of most lockers.
    xset("activate");
    last = 0;
    EXPECT_TRUE(eventually(60, [&] { return stillFor(); })) << "the game kept moving under the saver";
    xset("reset");
    EXPECT_TRUE(eventually(60, [&] { return moving(); })) << "the game stood still after the saver went off";
}

TEST_F(GameBeside, AProgramTypedIntoBesideTheGameGetsEveryKey) {
    // A window of another program, given the keyboard, counting what it is given.
    const Window typedInto = XCreateSimpleWindow(x, DefaultRootWindow(x), 0, 0, 300, 200, 0, 0, 0);
    XStoreName(x, typedInto, "typed into");
    XSelectInput(x, typedInto, KeyPressMask | KeyReleaseMask | FocusChangeMask);
    XMapWindow(x, typedInto);
    ASSERT_TRUE(eventually(120, [&] {
        XWindowAttributes a{};
        if (XGetWindowAttributes(x, typedInto, &a) && a.map_state == IsViewable)
            XSetInputFocus(x, typedInto, RevertToParent, CurrentTime);
        Window focused = 0;
        int revert = 0;
        XGetInputFocus(x, &focused, &revert);
        return focused == typedInto;
    })) << "the typed-into window never had the keyboard";

    constexpr int kKeys = 2000;
    const pid_t typist = xtest::spawn({"env", "DISPLAY=" + display, "xdotool", "key", "--delay", "1",
                                       "--repeat", std::to_string(kKeys), "a"});
    int presses = 0, releases = 0, grabbedAway = 0, status = 0;
    const auto count = [&] {
        while (XPending(x) > 0) {
            XEvent e;
            XNextEvent(x, &e);
            presses += e.type == KeyPress;
            releases += e.type == KeyRelease;
            grabbedAway += e.type == FocusOut && e.xfocus.mode == NotifyGrab;
        }
    };
    const bool typed = eventually(
        300,
        [&] {
            count();
            return waitpid(typist, &status, WNOHANG) == typist;
        },
        std::chrono::milliseconds(5));
    if (!typed) xtest::stop(typist);
    ASSERT_TRUE(typed && WIFEXITED(status) && WEXITSTATUS(status) == 0) << "xdotool did not finish typing";
    // The server has handed over every key it was given by the time it answers a round trip.
    XSync(x, False);
    count();
    EXPECT_EQ(kKeys, presses) << "presses the other program was given";
    EXPECT_EQ(kKeys, releases) << "releases the other program was given";
    EXPECT_EQ(0, grabbedAway) << "times the keyboard was taken from it";
}
