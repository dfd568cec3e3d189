#include "engine/scene/Scheduler.h"

#include "engine/scene/ActionManager.h"
#include "engine/scene/Node.h"

#include <algorithm>

namespace cocos2d {

namespace {
constexpr double kEpsilon = 1e-6;
}

void Scheduler::scheduleUpdate(Node* target) {
    for (auto& e : _updates)
        if (e.target == target && !e.dead) return;
    _updates.push_back({target, false});
}

void Scheduler::unscheduleUpdate(Node* target) {
    for (auto& e : _updates)
        if (e.target == target && !e.dead) {
            e.dead = true;
            _hasDead = true;
        }
    if (!_updating) purge();
}

void Scheduler::schedule(SEL_SCHEDULE selector, Node* target, float interval, bool once) {
    for (auto& t : _timers)
        if (t.target == target && t.selector == selector && !t.dead) {
            t.interval = interval;
            return;
        }
    _timers.push_back({target, selector, static_cast<double>(interval), 0.0, once, false});
}

void Scheduler::unschedule(SEL_SCHEDULE selector, Node* target) {
    for (auto& t : _timers)
        if (t.target == target && t.selector == selector && !t.dead) {
            t.dead = true;
            _hasDead = true;
        }
    if (!_updating) purge();
}

void Scheduler::unscheduleAllForTarget(Node* target) {
    for (auto& e : _updates)
        if (e.target == target) e.dead = true;
    for (auto& t : _timers)
        if (t.target == target) t.dead = true;
    _hasDead = true;
    if (!_updating) purge();
}

bool Scheduler::isScheduled(SEL_SCHEDULE selector, const Node* target) const {
    return std::any_of(_timers.begin(), _timers.end(), [&](const Timer& t) {
        return t.target == target && t.selector == selector && !t.dead;
    });
}

std::size_t Scheduler::timerCount() const {
    return static_cast<std::size_t>(
        std::count_if(_timers.begin(), _timers.end(), [](const Timer& t) { return !t.dead; }));
}

void Scheduler::update(double dt) {
    ++_updating;
    _actions->update(dt);

    // Entries added during this frame (by an action, an update or a timer) wait for the next one.
    const std::size_t updateCount = _updates.size();
    const std::size_t timerCount = _timers.size();
    for (std::size_t i = 0; i < updateCount; ++i) {
        if (_updates[i].dead) continue;
        Node* target = _updates[i].target;
        if (target->isPausedForScheduling()) continue;
        // Held for the call, so a node that removes itself is freed only afterwards.
        target->retain();
        target->update(static_cast<float>(dt));
        target->release();
    }

    for (std::size_t i = 0; i < timerCount; ++i) {
        Timer& timer = _timers[i];
        if (timer.dead || timer.target->isPausedForScheduling()) continue;
        timer.elapsed += dt;
        if (timer.elapsed + kEpsilon < timer.interval) continue;
        timer.elapsed = std::max(0.0, timer.elapsed - timer.interval);
        if (timer.once) {
            timer.dead = true;
            _hasDead = true;
        }
        Node* target = timer.target;
        const SEL_SCHEDULE selector = timer.selector;
        target->retain();
        (target->*selector)(static_cast<float>(dt));
        target->release();
    }
    --_updating;
    purge();
}

void Scheduler::purge() {
    if (!_hasDead || _updating) return;
    _updates.erase(
        std::remove_if(_updates.begin(), _updates.end(), [](const UpdateEntry& e) { return e.dead; }),
        _updates.end());
    _timers.erase(std::remove_if(_timers.begin(), _timers.end(), [](const Timer& t) { return t.dead; }),
                  _timers.end());
    _hasDead = false;
}

} // namespace cocos2d
