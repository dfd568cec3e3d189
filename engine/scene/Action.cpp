#include "engine/scene/Action.h"

namespace cocos2d {

namespace {
// Sums of frame times carry rounding error; an action within a microsecond of its end is done.
constexpr double kEpsilon = 1e-6;
} // namespace

void FiniteTimeAction::startWithTarget(Node* target) {
    Action::startWithTarget(target);
    _elapsed = 0;
}

void FiniteTimeAction::step(double dt) {
    _elapsed += dt;
    const double t = _duration <= kEpsilon ? 1.0 : _elapsed / _duration;
    update(static_cast<float>(isDone() || t > 1.0 ? 1.0 : t));
}

bool FiniteTimeAction::isDone() const {
    return _elapsed >= _duration - kEpsilon;
}

} // namespace cocos2d
