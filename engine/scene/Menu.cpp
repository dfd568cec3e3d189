#include "engine/scene/Menu.h"

#include "engine/scene/Director.h"
#include "engine/scene/EventDispatcher.h"
#include "engine/scene/EventListenerTouch.h"
#include "engine/scene/MenuItemImage.h"
#include "engine/scene/Touch.h"

namespace cocos2d {

Menu::Menu() {
    _ignoreAnchor = true;
    _anchorPoint = Vec2::ANCHOR_MIDDLE;
    _cascadeOpacity = true;
    _cascadeColor = true;
}

Menu::~Menu() {
    if (_selectedItem) _selectedItem->release();
    if (_listener) _listener->release();
}

Menu* Menu::create() {
    auto* menu = new Menu();
    menu->init();
    menu->autorelease();
    return menu;
}

Menu* Menu::create(MenuItemImage* item) {
    Menu* menu = create();
    if (item) menu->addChild(item);
    return menu;
}

bool Menu::init() {
    const Size win = Director::getInstance()->getWinSize();
    setContentSize(win);
    // A new menu sits in the middle of the screen, so an unplaced item shows at the centre.
    setPosition(win.width / 2, win.height / 2);
    _listener = EventListenerTouchOneByOne::create();
    _listener->retain();
    _listener->setSwallowTouches(true);
    _listener->onTouchBegan = [this](Touch* t, Event* e) { return touchBegan(t, e); };
    _listener->onTouchMoved = [this](Touch* t, Event* e) { touchMoved(t, e); };
    _listener->onTouchEnded = [this](Touch* t, Event* e) { touchEnded(t, e); };
    _listener->onTouchCancelled = [this](Touch* t, Event* e) { touchCancelled(t, e); };
    return true;
}

void Menu::onEnter() {
    Node::onEnter();
    // Registered on entering, since leaving the scene (cleanup) removes it.
    Director::getInstance()->getEventDispatcher()->removeEventListener(_listener);
    Director::getInstance()->getEventDispatcher()->addEventListenerWithSceneGraphPriority(_listener, this);
}

void Menu::addChild(Node* child, int localZOrder) {
    // Only menu items belong in a menu.
    if (dynamic_cast<MenuItemImage*>(child)) Node::addChild(child, localZOrder);
}

MenuItemImage* Menu::itemAt(const Vec2& worldPoint) const {
    const auto& children = getChildren();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        auto* item = static_cast<MenuItemImage*>(*it);
        if (item->isVisible() && item->isEnabled() && item->containsWorldPoint(worldPoint)) return item;
    }
    return nullptr;
}

bool Menu::touchBegan(Touch* touch, Event*) {
    if (!isShown()) return false;
    MenuItemImage* item = itemAt(touch->getLocation());
    if (!item) return false;
    // A second press on a button already held is dropped: passed on, it would reach an older
    // button lying underneath, which may show something else.
    if (_selectedItem) return true;
    _selectedItem = item;
    _selectedTouch = touch->getID();
    _selectedItem->retain();
    item->selected();
    return true;
}

void Menu::touchMoved(Touch* touch, Event*) {
    if (!_selectedItem || touch->getID() != _selectedTouch) return;
    MenuItemImage* item = itemAt(touch->getLocation());
    if (item == _selectedItem)
        _selectedItem->selected();
    else
        _selectedItem->unselected();
}

void Menu::touchEnded(Touch* touch, Event*) {
    if (!_selectedItem || touch->getID() != _selectedTouch) return;
    MenuItemImage* item = _selectedItem;
    _selectedItem = nullptr;
    item->unselected();
    // Fires only when released over the item it was pressed on, and only if still shown.
    if (itemAt(touch->getLocation()) == item && isShown()) item->activate();
    item->release();
}

void Menu::touchCancelled(Touch* touch, Event*) {
    if (!_selectedItem || touch->getID() != _selectedTouch) return;
    _selectedItem->unselected();
    _selectedItem->release();
    _selectedItem = nullptr;
}

} // namespace cocos2d
