// The browser's side: frames come from the page's animation frames. The browser shows a frame
// when the callback returns, so nothing here may block, wait or loop.
#include "engine/platform/FrameDriver.h"
#include "engine/app/AppFrame.h"

#include "engine/app/EventPump.h"
#include "engine/app/FrameSteps.h"
#include "engine/scene/Director.h"

#include <algorithm>
#include <emscripten/html5.h>

namespace cocos2d {

namespace {

// Enough to keep the game's speed on a 30 Hz display, with room for an uneven frame.
constexpr int kMostStepsPerFrame = 3;
// While stopped, notes still keep real time, but a hidden page's gap is not waited out.
constexpr double kLongestPausedFrame = 0.1;

struct Frames {
    explicit Frames(ApplicationProtocol* app)
        : events(app, false), steps(Director::getInstance()->getAnimationInterval(), kMostStepsPerFrame) {}
    EventPump events;
    FrameSteps steps;
    double last = -1;
};

EM_BOOL frame(double nowMs, void* data) {
    auto* frames = static_cast<Frames*>(data);
    Director* director = Director::getInstance();
    const double now = nowMs / 1000.0;
    const double elapsed = frames->last < 0 ? 0 : std::clamp(now - frames->last, 0.0, kLongestPausedFrame);
    frames->last = now;

    const bool wasPaused = frames->events.isPaused();
    frames->events.pump();
    if (wasPaused && !frames->events.isPaused()) frames->steps.restart();
    if (!director->isAnimating()) {
        // Stopped, the page is still watched: its notice going away is what resumes.
        frames->events.tick();
        frames->steps.restart();
        AppFrame::step(elapsed);
    } else {
        const int steps = frames->steps.stepsAt(now);
        const double interval = director->getAnimationInterval();
        for (int i = 0; i < steps; ++i) {
            frames->events.tick();
            AppFrame::step(interval, i == steps - 1);
        }
    }
    frames->events.openGamepads();
    return EM_TRUE;
}

} // namespace

void FrameDriver::run(ApplicationProtocol* app, std::function<void()>) {
    // Lives as long as the page.
    emscripten_request_animation_frame_loop(frame, new Frames(app));
}

bool FrameDriver::canEnd() {
    return false;
}

} // namespace cocos2d
