#include "engine/scene/ActionManager.h"

#include "engine/scene/Action.h"
#include "engine/scene/Node.h"

#include <algorithm>

namespace cocos2d {

ActionManager::~ActionManager() {
    for (auto& e : _entries)
        if (e.action) e.action->release();
}

void ActionManager::addAction(Action* action, Node* target) {
    action->retain();
    // An action already running somewhere starts over on its new target.
    removeAction(action);
    _entries.push_back({action, target});
    action->startWithTarget(target);
}

void ActionManager::removeAction(Action* action) {
    for (auto& e : _entries)
        if (e.action == action) {
            e.action = nullptr;
            _hasDead = true;
            action->release();
            break;
        }
    if (!_updating) purge();
}

void ActionManager::removeAllActionsFromTarget(Node* target) {
    for (auto& e : _entries)
        if (e.action && e.target == target) {
            e.action->release();
            e.action = nullptr;
            _hasDead = true;
        }
    if (!_updating) purge();
}

std::size_t ActionManager::getNumberOfRunningActionsInTarget(const Node* target) const {
    return static_cast<std::size_t>(std::count_if(_entries.begin(), _entries.end(), [target](const Entry& e) {
        return e.action && e.target == target;
    }));
}

std::size_t ActionManager::size() const {
    return static_cast<std::size_t>(
        std::count_if(_entries.begin(), _entries.end(), [](const Entry& e) { return e.action != nullptr; }));
}

void ActionManager::update(double dt) {
    _updating = true;
    const std::size_t count = _entries.size();
    for (std::size_t i = 0; i < count; ++i) {
        Action* action = _entries[i].action;
        if (!action || _entries[i].target->isPausedForScheduling()) continue;
        action->retain();
        action->step(dt);
        if (action->isDone() && _entries[i].action == action) {
            action->stop();
            _entries[i].action = nullptr;
            _hasDead = true;
            action->release();
        }
        action->release();
    }
    _updating = false;
    purge();
}

void ActionManager::purge() {
    if (!_hasDead) return;
    _entries.erase(std::remove_if(_entries.begin(), _entries.end(), [](const Entry& e) { return !e.action; }),
                   _entries.end());
    _hasDead = false;
}

} // namespace cocos2d
