// The browser's side: no desktop to ask, but the page covers the game with a notice of its own
// (a phone held upright is asked to be turned), and a game nobody can see must stand still.
#include "engine/platform/ScreenLockWatch.h"

#include <emscripten.h>

namespace cocos2d {

namespace {

// clang-format off
EM_JS(int, pageCoversGame, (), { return Module.doviPage && Module.doviPage.covered && Module.doviPage.covered() ? 1 : 0; });
// clang-format on

class PageNoticeWatch : public ScreenLockWatch {
  public:
    bool locked(unsigned) override { return pageCoversGame() != 0; }
};

} // namespace

std::unique_ptr<ScreenLockWatch> ScreenLockWatch::create(SDL_Window*) {
    return std::make_unique<PageNoticeWatch>();
}

} // namespace cocos2d
