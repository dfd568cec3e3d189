#pragma once
#include "engine/scene/Node.h"

namespace cocos2d {

class MenuItemImage;
class Touch;
class Event;
class EventListenerTouchOneByOne;

// A full-screen holder of menu items that turns touches into presses. It takes a touch only
// on one of its items, and only while it and every ancestor are visible.
class Menu : public Node {
  public:
    static Menu* create(MenuItemImage* item);
    static Menu* create();
    ~Menu() override;
    bool init() override;
    void onEnter() override;
    void addChild(Node* child, int localZOrder) override;
    using Node::addChild;

  private:
    Menu();
    bool touchBegan(Touch* touch, Event* event);
    void touchMoved(Touch* touch, Event* event);
    void touchEnded(Touch* touch, Event* event);
    void touchCancelled(Touch* touch, Event* event);
    MenuItemImage* itemAt(const Vec2& worldPoint) const;
    EventListenerTouchOneByOne* _listener = nullptr;
    MenuItemImage* _selectedItem = nullptr;
    int _selectedTouch = 0;
};

} // namespace cocos2d
