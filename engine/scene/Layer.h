#pragma once
#include "engine/scene/Node.h"

namespace cocos2d {

class Touch;
class Event;

// A full-screen container that may take touches.
class Layer : public Node {
  public:
    CREATE_FUNC(Layer)
    bool init() override;
    virtual bool onTouchBegan(Touch* touch, Event* event);
    virtual void onTouchMoved(Touch* touch, Event* event);
    virtual void onTouchEnded(Touch* touch, Event* event);
    virtual void onTouchCancelled(Touch* touch, Event* event);

  protected:
    Layer();
};

} // namespace cocos2d
