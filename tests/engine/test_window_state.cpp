// The window's remembered placement: fitted to the displays there are at start, saved once a
// change has settled (on the caller's clock), and read back by the next window. Desktops, frames,
// maximising and fullscreen are checked on a real X display by remembered_window.sh.
#include "engine/base/AutoreleasePool.h"
#include "engine/platform/WindowState.h"
#include "engine/store/UserDefault.h"
#include "engine/window/GLView.h"
#include "tests/support/ProcessRunner.h"

#include <SDL.h>
#include <climits>
#include <gtest/gtest.h>

using namespace cocos2d;

namespace {

WindowPlacement at(int x, int y, int width, int height) {
    WindowPlacement p;
    p.windowed = {x, y, width, height};
    return p;
}

DisplayArea display(int x, int y, int width, int height, int panel = 0) {
    return {{x, y, width, height}, {x, y + panel, width, height - panel}};
}

// A 1920 x 1080 primary with a 40-pixel panel at its top, and a 1280 x 1024 monitor to its right.
const std::vector<DisplayArea> kTwo = {display(0, 0, 1920, 1080, 40), display(1920, 0, 1280, 1024)};

TEST(WindowFit, APlaceWholeOnSomeDisplayIsKept) {
    for (const auto& wanted : {at(100, 80, 1280, 720), at(2000, 100, 1000, 800)})
        EXPECT_EQ(WindowState::fit(wanted, kTwo), wanted);
    // Maximised and fullscreen travel along untouched.
    WindowPlacement both = at(10, 80, 640, 360);
    both.maximized = both.fullscreen = true;
    EXPECT_EQ(WindowState::fit(both, kTwo), both);
}

TEST(WindowFit, APlacePartlyOffItsDisplayMovesOntoItWholeTitleBarAndAll) {
    // Onto the display that shows most of it, with room for a title bar above the inside.
    EXPECT_EQ(WindowState::fit(at(1500, 300, 1000, 600), kTwo), at(1928, 300, 1000, 600));
    EXPECT_EQ(WindowState::fit(at(-200, 500, 800, 450), kTwo), at(8, 500, 800, 450));
    EXPECT_EQ(WindowState::fit(at(101, -230, 1280, 720), {display(0, 0, 1920, 1080)}),
              at(101, 40, 1280, 720));
    // The screen became smaller: the close button and the bottom edge come back too.
    EXPECT_EQ(WindowState::fit(at(401, 220, 1000, 600), {display(0, 0, 1366, 768)}), at(358, 160, 1000, 600));
    // Hand-edited values at the int limits.
    EXPECT_EQ(WindowState::fit(at(INT_MAX, 600, 640, 360), kTwo), at(640, 396, 640, 360));
    const WindowPlacement huge = WindowState::fit(at(2000000000, 2000000000, 2000000000, 2000000000), kTwo);
    EXPECT_TRUE(huge.windowed.x >= 8 && huge.windowed.x + huge.windowed.width <= 1912 &&
                huge.windowed.y >= 80 && huge.windowed.y + huge.windowed.height <= 1072);
}

TEST(WindowFit, APlaceNoDisplayShowsHalfOfIsCentredOnThePrimary) {
    // The right-hand monitor unplugged: its windows come back centred on the primary's free area.
    const std::vector<DisplayArea> one = {kTwo[0]};
    EXPECT_EQ(WindowState::fit(at(2000, 100, 1000, 800), one), at(460, 176, 1000, 800));
    EXPECT_EQ(WindowState::fit(at(-5000, -5000, 640, 360), kTwo), at(640, 396, 640, 360));
    // Exactly half shown is still a place a player meant; less is not.
    EXPECT_EQ(WindowState::fit(at(1420, 500, 1000, 400), one), at(912, 500, 1000, 400));
    EXPECT_EQ(WindowState::fit(at(1421, 500, 1000, 400), one), at(460, 376, 1000, 400));
}

TEST(WindowFit, ASizeLargerThanItsDisplayShrinksKeepingItsShape) {
    // 2560 x 1440 on the primary, whose room below its panel and a title bar is 1904 x 992:
    // 90 % of 992 / 1440 of it.
    EXPECT_EQ(WindowState::fit(at(0, 40, 2560, 1440), kTwo), at(166, 129, 1587, 893));
    // Too wide only, on the second monitor: it stays there.
    EXPECT_EQ(WindowState::fit(at(1920, 0, 1400, 700), kTwo), at(1991, 243, 1138, 569));
    // Too large and off every display: shrunk for the primary and centred on it.
    EXPECT_EQ(WindowState::fit(at(9000, 9000, 3840, 2160), kTwo), at(166, 129, 1587, 893));
    // No display known at all: left as it is.
    EXPECT_EQ(WindowState::fit(at(9000, 9000, 3840, 2160), {}), at(9000, 9000, 3840, 2160));
}

// A window of the dummy video driver over a store of its own.
class WindowStateTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("XDG_DATA_HOME", makeTempDir().c_str(), 1);
        ASSERT_EQ(0, SDL_InitSubSystem(SDL_INIT_VIDEO));
        SDL_Rect usable;
        ASSERT_EQ(0, SDL_GetDisplayUsableBounds(0, &usable));
        screen = {usable.x, usable.y, usable.w, usable.h};
    }
    void TearDown() override {
        if (window) SDL_DestroyWindow(window);
        UserDefault::destroyInstance();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    WindowState open(const WindowPlacement& placed) {
        const PixelRect& r = placed.windowed;
        window = SDL_CreateWindow("test", r.x, r.y, r.width, r.height, SDL_WINDOW_RESIZABLE);
        return WindowState(window, placed);
    }
    static PixelRect saved() {
        UserDefault* store = UserDefault::getInstance();
        return {store->getIntegerForKey(WindowState::kXKey), store->getIntegerForKey(WindowState::kYKey),
                store->getIntegerForKey(WindowState::kWidthKey),
                store->getIntegerForKey(WindowState::kHeightKey)};
    }

    SDL_Window* window = nullptr;
    PixelRect screen;
};

TEST_F(WindowStateTest, NothingRememberedMeansTheDefaultSizeCentred) {
    const WindowPlacement first = WindowState::restore(640, 360);
    EXPECT_EQ(first.windowed, (PixelRect{screen.x + (screen.width - 640) / 2,
                                         screen.y + (screen.height - 360) / 2, 640, 360}));
    EXPECT_FALSE(first.maximized || first.fullscreen);
    // Nonsense in the store (a zero-sized window) counts as nothing remembered.
    UserDefault::getInstance()->setIntegerForKey(WindowState::kWidthKey, 0);
    UserDefault::getInstance()->setIntegerForKey(WindowState::kHeightKey, 500);
    EXPECT_EQ(WindowState::restore(640, 360), first);
    // The default is shrunk too on a display smaller than it.
    const PixelRect big = WindowState::restore(screen.width * 2, screen.height * 2).windowed;
    EXPECT_LE(big.width, screen.width);
    EXPECT_LE(big.height, screen.height);
}

TEST_F(WindowStateTest, AMoveIsSavedOnceTheWindowKeepsStillOnTheCallersClock) {
    const WindowPlacement placed = at(screen.x + 20, screen.y + 30, 400, 300);
    WindowState state = open(placed);
    // While the desktop places it, where it shows is not yet the player's choice; once that
    // time is over, where it ended up is saved.
    for (unsigned ms = 0; ms < WindowState::kPlacingMs; ms += 16) {
        if (ms == 96) SDL_SetWindowPosition(window, placed.windowed.x + 1, placed.windowed.y + 20);
        state.tick(ms);
    }
    EXPECT_FALSE(UserDefault::getInstance()->hasPendingWrites());
    state.tick(WindowState::kPlacingMs);
    EXPECT_EQ(saved(), (PixelRect{placed.windowed.x + 1, placed.windowed.y + 20, 400, 300}));
    UserDefault::getInstance()->flush();
    SDL_SetWindowPosition(window, placed.windowed.x, placed.windowed.y);

    // A drag, frame after frame, then still: saved kSettleMs after the last step, not before.
    unsigned now = 2000;
    for (int step = 1; step <= 10; ++step, now += 16) {
        SDL_SetWindowPosition(window, placed.windowed.x + 10 * step, placed.windowed.y + 5 * step);
        state.tick(now);
    }
    const unsigned lastMove = now - 16;
    state.tick(lastMove + WindowState::kSettleMs - 1);
    EXPECT_FALSE(UserDefault::getInstance()->hasPendingWrites());
    state.tick(lastMove + WindowState::kSettleMs);
    EXPECT_EQ(saved(), (PixelRect{placed.windowed.x + 100, placed.windowed.y + 50, 400, 300}));
    EXPECT_FALSE(UserDefault::getInstance()->getBoolForKey(WindowState::kMaximizedKey, true));
    EXPECT_FALSE(UserDefault::getInstance()->getBoolForKey(WindowState::kFullscreenKey, true));

    // A resize followed by a long hitch is saved on the first frame after it.
    UserDefault::getInstance()->flush();
    SDL_SetWindowSize(window, 500, 280);
    state.tick(now + 100);
    state.tick(now + 100 + 5000);
    EXPECT_EQ(saved().width, 500);
    EXPECT_EQ(saved().height, 280);
    EXPECT_EQ(state.current().windowed, saved());
}

TEST_F(WindowStateTest, SavedAtExitEvenBeforeItSettlesAndReadBackByTheNextWindow) {
    WindowState state = open(at(screen.x + 10, screen.y + 10, 400, 300));
    state.tick(0);
    state.tick(WindowState::kPlacingMs);
    SDL_SetWindowPosition(window, screen.x + 40, screen.y + 50);
    SDL_SetWindowSize(window, 640, 400);
    state.tick(WindowState::kPlacingMs + 16);
    state.save();
    UserDefault::destroyInstance();

    const WindowPlacement next = WindowState::restore(1280, 720);
    EXPECT_EQ(next.windowed, (PixelRect{screen.x + 40, screen.y + 50, 640, 400}));

    // The program's own view opens its window there.
    SDL_DestroyWindow(window);
    window = nullptr;
    GLViewImpl* view = GLViewImpl::create("remembered");
    ASSERT_NE(view, nullptr);
    // It shows when its renderer opens, for the first frame.
    ASSERT_NE(view->getRenderer(), nullptr);
    ASSERT_NE(view->windowState(), nullptr);
    int x = 0, y = 0;
    SDL_GetWindowPosition(view->getWindow(), &x, &y);
    EXPECT_EQ(x, screen.x + 40);
    EXPECT_EQ(y, screen.y + 50);
    EXPECT_EQ(view->getFrameSize().width, 640);
    EXPECT_EQ(view->getFrameSize().height, 400);
    AutoreleasePool::getInstance()->clear();
}

} // namespace
