#include "engine/app/FramePacer.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>
#include <utility>

namespace cocos2d {

namespace {

class SteadyClock : public FramePacer::Clock {
  public:
    double now() override {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - _epoch).count();
    }
    void sleepUntil(double when) override {
        // The kernel wakes us a tenth of a millisecond late or so; the last stretch is spun.
        constexpr double kSpin = 0.0005;
        const double coarse = when - kSpin - now();
        if (coarse > 0) std::this_thread::sleep_for(std::chrono::duration<double>(coarse));
        while (now() < when)
            std::this_thread::yield();
    }

  private:
    const std::chrono::steady_clock::time_point _epoch = std::chrono::steady_clock::now();
};

} // namespace

FramePacer::Clock& FramePacer::systemClock() {
    static SteadyClock clock;
    return clock;
}

FramePacer::FramePacer(Clock& clock, double interval, std::function<void(bool)> setVSync)
    : _clock(clock), _interval(interval), _setVSync(std::move(setVSync)) {}

void FramePacer::setRefreshRate(double hz) {
    if (hz == _refreshHz) return;
    _refreshHz = hz;
    chooseVSync();
}

void FramePacer::chooseVSync() {
    const bool matches = _refreshHz > 0 && std::abs(_refreshHz - 1.0 / _interval) <= kRefreshTolerance;
    const bool wanted = matches && !_distrusted;
    // Every choice puts vsync on trial afresh.
    _presents = 0;
    if (wanted == _vsync) return;
    _vsync = wanted;
    // The timed loop picks up from the frame under way.
    if (!_vsync) _deadline = _clock.now() + _interval;
    if (_setVSync) _setVSync(_vsync);
}

double FramePacer::beginFrame() {
    // A frame that was drawn but never ended (the loop stopped animating) leaves no wait behind.
    _waited = false;
    const double now = _clock.now();
    if (!_started) {
        _started = true;
        _frameStart = now;
        _deadline = now + _interval;
        return _interval;
    }
    const double elapsed = std::clamp(now - _frameStart, 0.0, kMaxFrameTime);
    _frameStart = now;
    return elapsed;
}

void FramePacer::beforePresent(const std::function<void()>& finishDrawing) {
    if (_vsync || _waited) return;
    if (finishDrawing) finishDrawing();
    waitForDeadline();
    _waited = true;
}

void FramePacer::endFrame() {
    const bool waited = std::exchange(_waited, false);
    if (_vsync) {
        judgePresent(_clock.now());
        if (_vsync) {
            const double earliest = _frameStart + kVsyncGuard * _interval;
            if (_clock.now() < earliest) _clock.sleepUntil(earliest);
            return;
        }
    }
    if (!waited) waitForDeadline();
}

void FramePacer::waitForDeadline() {
    const double now = _clock.now();
    if (now < _deadline) {
        _clock.sleepUntil(_deadline);
        // Deadlines are absolute, so the sleep's own lateness does not add up.
        _deadline += _interval;
    } else {
        // A late frame is not caught up with a burst of short ones.
        _deadline = now + _interval;
    }
}

void FramePacer::judgePresent(double presented) {
    ++_presents;
    if (_presents == kVsyncWarmup) {
        _judgingSince = presented;
    } else if (_presents == kVsyncWarmup + kVsyncJudged) {
        const double mean = (presented - _judgingSince) / kVsyncJudged;
        if (mean < (1 - kVsyncFastness) / _refreshHz) {
            _distrusted = true;
            chooseVSync();
            return;
        }
        _presents = kVsyncWarmup;
        _judgingSince = presented;
    }
}

void FramePacer::restart() {
    _started = false;
    _presents = 0;
}

} // namespace cocos2d
