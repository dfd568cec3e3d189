#include "engine/platform/FrameDriver.h"
#include "engine/app/AppFrame.h"

#include "engine/app/EventPump.h"
#include "engine/app/FramePacer.h"
#include "engine/scene/Director.h"
#include "engine/window/GLView.h"

#include <SDL.h>

namespace cocos2d {

void FrameDriver::run(ApplicationProtocol* app, std::function<void()> finish) {
    Director* director = Director::getInstance();
    GLView* view = director->getOpenGLView();
    FramePacer pacer(FramePacer::systemClock(), director->getAnimationInterval(),
                     [view](bool on) { view->setVSync(on); });
    view->setBeforePresent([&pacer, view] { pacer.beforePresent([view] { view->finishDrawing(); }); });
    {
        EventPump events(app, false);
        while (true) {
            const bool wasPaused = events.isPaused();
            if (!events.pump()) break;
            events.tick();
            // Time spent paused is not game time.
            if (wasPaused && !events.isPaused()) pacer.restart();

            pacer.setRefreshRate(view->getRefreshRate());
            AppFrame::step(pacer.beginFrame());
            // Looking for gamepads can take a while: it waits until the first frame is up.
            events.openGamepads();
            if (director->isAnimating())
                pacer.endFrame();
            else
                SDL_WaitEventTimeout(nullptr, 100);
        }
    }
    view->setBeforePresent(nullptr);
    finish();
}

bool FrameDriver::canEnd() {
    return true;
}

} // namespace cocos2d
