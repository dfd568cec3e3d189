#pragma once
#include "engine/base/Ref.h"

#include <functional>
#include <vector>

namespace cocos2d {

class Touch;
class Event;
class Node;

// Receives touches one at a time. A touch belongs to the listener whose onTouchBegan
// returned true; a swallowing listener keeps it from the listeners below.
class EventListenerTouchOneByOne : public Ref {
  public:
    static EventListenerTouchOneByOne* create();
    void setSwallowTouches(bool swallow) { _swallow = swallow; }
    bool isSwallowTouches() const { return _swallow; }
    void setEnabled(bool enabled) { _enabled = enabled; }
    bool isEnabled() const { return _enabled; }

    std::function<bool(Touch*, Event*)> onTouchBegan;
    std::function<void(Touch*, Event*)> onTouchMoved;
    std::function<void(Touch*, Event*)> onTouchEnded;
    std::function<void(Touch*, Event*)> onTouchCancelled;

  private:
    friend class EventDispatcher;
    EventListenerTouchOneByOne() = default;
    bool _swallow = false;
    bool _enabled = true;
    Node* _node = nullptr;
    std::vector<Touch*> _claimed;
};

using EventListenerTouch = EventListenerTouchOneByOne;

} // namespace cocos2d
