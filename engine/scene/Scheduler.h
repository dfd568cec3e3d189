#pragma once
// Per-frame order: actions, then update() callbacks in the order they were scheduled, then
// timers. A callback may unschedule or remove its own node.
#include "engine/base/Ref.h"

#include <cstddef>
#include <functional>
#include <vector>

namespace cocos2d {

class ActionManager;
class Node;

class Scheduler {
  public:
    explicit Scheduler(ActionManager* actions) : _actions(actions) {}
    void update(double dt);

    void scheduleUpdate(Node* target);
    void unscheduleUpdate(Node* target);
    // Scheduling a selector that is already scheduled on the node only changes its interval.
    void schedule(SEL_SCHEDULE selector, Node* target, float interval, bool once);
    void unschedule(SEL_SCHEDULE selector, Node* target);
    void unscheduleAllForTarget(Node* target);
    bool isScheduled(SEL_SCHEDULE selector, const Node* target) const;
    std::size_t timerCount() const;

  private:
    struct UpdateEntry {
        Node* target;
        bool dead;
    };
    struct Timer {
        Node* target;
        SEL_SCHEDULE selector;
        double interval;
        double elapsed;
        bool once;
        bool dead;
    };
    void purge();
    ActionManager* _actions;
    std::vector<UpdateEntry> _updates;
    std::vector<Timer> _timers;
    int _updating = 0;
    bool _hasDead = false;
};

} // namespace cocos2d
