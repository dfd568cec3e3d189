#pragma once
// Actions change a node over time. Time is kept in double precision so that a 1 s action
// ends exactly on the 60th frame at 60 frames per second.
#include "engine/base/Ref.h"

namespace cocos2d {

class Node;

class Action : public Ref {
  public:
    virtual void startWithTarget(Node* target) { _target = target; }
    // Called when the action finishes on its own (or its composite moves on).
    virtual void stop() { _target = nullptr; }
    virtual void step(double dt) = 0;
    virtual bool isDone() const = 0;
    Node* getTarget() const { return _target; }

  protected:
    Node* _target = nullptr;
};

// An action with a known duration; progress is elapsed / duration.
class FiniteTimeAction : public Action {
  public:
    double getDuration() const { return _duration; }
    double getElapsed() const { return _elapsed; }
    void startWithTarget(Node* target) override;
    void step(double dt) override;
    bool isDone() const override;
    // Time past the end, to hand on to what follows.
    double overflow() const { return _elapsed > _duration ? _elapsed - _duration : 0.0; }
    // t runs from 0 to 1.
    virtual void update(float t) { (void)t; }

  protected:
    double _duration = 0;
    double _elapsed = 0;
};

} // namespace cocos2d
