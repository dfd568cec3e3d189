#pragma once
// Keeps the main loop at the animation interval. On a display whose refresh matches the game's
// rate, presents wait for the refresh (no tearing); on any other display, or one whose refresh
// is unknown, the loop sleeps to absolute deadlines instead. The game moves by fixed steps per
// frame, so frames must never come faster than the interval: vsync is trusted only while the
// presents are seen to keep the refresh, and the timed loop takes over the moment they do not.
#include <functional>

namespace cocos2d {

class FramePacer {
  public:
    // Seconds on a monotonic clock, and a wait until a moment on it.
    class Clock {
      public:
        virtual ~Clock() = default;
        virtual double now() = 0;
        virtual void sleepUntil(double when) = 0;
    };
    // The process's own clock: a coarse sleep, then a short spin to the exact moment.
    static Clock& systemClock();

    // setVSync hears every change of mind about presenting with vsync (it starts off).
    FramePacer(Clock& clock, double interval, std::function<void(bool)> setVSync);

    // The display's refresh rate in Hz, 0 when unknown; cheap to call every frame, since only
    // a change is acted upon.
    void setRefreshRate(double hz);
    bool vsync() const { return _vsync; }
    // Presents came back faster than the refresh: vsync is not used again in this run.
    bool vsyncDistrusted() const { return _distrusted; }

    // Starts a frame; returns the seconds since the previous frame started (the frame's game
    // time), capped so that a stall does not throw the game ahead.
    double beginFrame();
    // The frame is drawn and about to be shown: in the timed loop, has the drawing finished and
    // waits for its deadline here, so that frames reach the screen evenly spaced however long
    // each took to draw. With vsync the present itself waits, and nothing is done here.
    void beforePresent(const std::function<void()>& finishDrawing = {});
    // After the frame is presented: waits until the next frame may start (in the timed loop,
    // for the deadline, unless beforePresent already did).
    void endFrame();
    // After a pause (minimised): the next frame starts a fresh schedule, and the pause is not
    // game time.
    void restart();

    // A refresh counts as the game's rate within this many Hz.
    static constexpr double kRefreshTolerance = 1.0;
    // A stall longer than this is not game time.
    static constexpr double kMaxFrameTime = 0.1;
    // Presents judged for vsync: the first few are ignored (the swap chain fills up), then the
    // mean of a run of them must not be shorter than the refresh by more than this fraction.
    static constexpr int kVsyncWarmup = 5;
    static constexpr int kVsyncJudged = 30;
    static constexpr double kVsyncFastness = 0.02;
    // With vsync on, a frame never starts sooner than this part of the interval after the
    // previous one, so that a driver ignoring vsync cannot race the game while it is judged.
    static constexpr double kVsyncGuard = 0.8;

  private:
    void chooseVSync();
    void judgePresent(double presented);
    void waitForDeadline();

    Clock& _clock;
    double _interval;
    std::function<void(bool)> _setVSync;
    double _refreshHz = -1;
    bool _vsync = false;
    bool _distrusted = false;

    bool _started = false;
    double _frameStart = 0;
    double _deadline = 0;
    bool _waited = false;

    int _presents = 0;
    double _judgingSince = 0;
};

} // namespace cocos2d
