#pragma once
// Delivers touches to listeners in the order of what is drawn on top first.
#include "engine/base/Types.h"

#include <vector>

namespace cocos2d {

class EventListenerTouchOneByOne;
class Node;
class Touch;

class EventDispatcher {
  public:
    ~EventDispatcher();
    void addEventListenerWithSceneGraphPriority(EventListenerTouchOneByOne* listener, Node* node);
    void removeEventListener(EventListenerTouchOneByOne* listener);
    void removeEventListenersForTarget(Node* node);
    void removeAllEventListeners();
    void setEnabled(bool enabled) { _enabled = enabled; }
    bool isEnabled() const { return _enabled; }
    std::size_t listenerCount() const { return _listeners.size(); }

    // From the platform, in design units. Touches under way are cancelled when the
    // dispatcher is disabled or their listener goes away.
    void touchBegan(int id, const Vec2& location, Node* scene);
    void touchMoved(int id, const Vec2& location);
    void touchEnded(int id, const Vec2& location);
    void cancelTouch(int id);
    void cancelAllTouches();

  private:
    std::vector<EventListenerTouchOneByOne*> ordered(Node* scene) const;
    Touch* findTouch(int id) const;
    void forgetTouch(Touch* touch);
    void cancel(Touch* touch);
    std::vector<EventListenerTouchOneByOne*> _listeners;
    std::vector<Touch*> _touches;
    bool _enabled = true;
};

} // namespace cocos2d
