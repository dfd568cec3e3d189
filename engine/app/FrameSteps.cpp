#include "engine/app/FrameSteps.h"

#include <cmath>

namespace cocos2d {

FrameSteps::FrameSteps(double interval, int maxSteps) : _interval(interval), _maxSteps(maxSteps) {}

int FrameSteps::stepsAt(double now) {
    if (!_started || now < _last) {
        // The first frame shows where the game is; it takes one step, as a paced loop would.
        _started = true;
        _last = now;
        _owed = 0;
        return 1;
    }
    _owed += (now - _last) / _interval;
    _last = now;
    const int steps = static_cast<int>(std::floor(_owed + kSnap));
    if (steps > _maxSteps) {
        _owed = 0;
        return _maxSteps;
    }
    _owed -= steps;
    return steps;
}

} // namespace cocos2d
