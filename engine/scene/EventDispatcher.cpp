#include "engine/scene/EventDispatcher.h"

#include "engine/scene/EventListenerTouch.h"
#include "engine/scene/Node.h"
#include "engine/scene/Touch.h"

#include <algorithm>
#include <unordered_map>

namespace cocos2d {

EventDispatcher::~EventDispatcher() {
    removeAllEventListeners();
}

void EventDispatcher::addEventListenerWithSceneGraphPriority(EventListenerTouchOneByOne* listener,
                                                             Node* node) {
    if (!listener || !node || listener->_node) return;
    listener->retain();
    listener->_node = node;
    _listeners.push_back(listener);
}

void EventDispatcher::removeEventListener(EventListenerTouchOneByOne* listener) {
    auto it = std::find(_listeners.begin(), _listeners.end(), listener);
    if (it == _listeners.end()) return;
    _listeners.erase(it);
    for (Touch* t : listener->_claimed)
        t->release();
    listener->_claimed.clear();
    listener->_node = nullptr;
    listener->release();
}

void EventDispatcher::removeEventListenersForTarget(Node* node) {
    std::vector<EventListenerTouchOneByOne*> gone;
    for (auto* l : _listeners)
        if (l->_node == node) gone.push_back(l);
    for (auto* l : gone)
        removeEventListener(l);
}

void EventDispatcher::removeAllEventListeners() {
    while (!_listeners.empty())
        removeEventListener(_listeners.back());
    for (Touch* t : _touches)
        t->release();
    _touches.clear();
}

std::vector<EventListenerTouchOneByOne*> EventDispatcher::ordered(Node* scene) const {
    // Number every node in drawing order; what is drawn last is asked first.
    std::unordered_map<const Node*, std::size_t> drawOrder;
    std::size_t counter = 0;
    auto walk = [&](auto&& self, const Node* node) -> void {
        const auto& children = node->getChildren();
        std::size_t i = 0;
        for (; i < children.size() && children[i]->getLocalZOrder() < 0; ++i)
            self(self, children[i]);
        drawOrder[node] = counter++;
        for (; i < children.size(); ++i)
            self(self, children[i]);
    };
    if (scene) walk(walk, scene);

    std::vector<std::pair<std::size_t, EventListenerTouchOneByOne*>> active;
    for (auto* l : _listeners) {
        if (!l->_enabled || !l->_node || l->_node->isPausedForScheduling()) continue;
        auto it = drawOrder.find(l->_node);
        if (it != drawOrder.end()) active.emplace_back(it->second, l);
    }
    std::stable_sort(active.begin(), active.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<EventListenerTouchOneByOne*> result;
    for (auto& [order, l] : active)
        result.push_back(l);
    return result;
}

Touch* EventDispatcher::findTouch(int id) const {
    for (Touch* t : _touches)
        if (t->getID() == id) return t;
    return nullptr;
}

void EventDispatcher::forgetTouch(Touch* touch) {
    for (auto* l : _listeners) {
        auto& c = l->_claimed;
        auto it = std::find(c.begin(), c.end(), touch);
        if (it != c.end()) {
            c.erase(it);
            touch->release();
        }
    }
    auto it = std::find(_touches.begin(), _touches.end(), touch);
    if (it != _touches.end()) {
        _touches.erase(it);
        touch->release();
    }
}

void EventDispatcher::touchBegan(int id, const Vec2& location, Node* scene) {
    if (Touch* old = findTouch(id)) forgetTouch(old);
    if (!_enabled) return;
    auto* touch = new Touch(id, location);
    _touches.push_back(touch);
    Event event(Event::Type::TOUCH);
    auto listeners = ordered(scene);
    for (auto* l : listeners)
        l->retain();
    bool swallowed = false;
    for (auto* l : listeners) {
        if (!swallowed && l->_node && l->onTouchBegan && l->onTouchBegan(touch, &event)) {
            if (l->_node) {
                touch->retain();
                l->_claimed.push_back(touch);
            }
            swallowed = l->_swallow;
        }
        l->release();
    }
}

void EventDispatcher::touchMoved(int id, const Vec2& location) {
    Touch* touch = findTouch(id);
    if (!touch) return;
    touch->moveTo(location);
    if (!_enabled) return;
    Event event(Event::Type::TOUCH);
    auto listeners = _listeners;
    for (auto* l : listeners)
        l->retain();
    for (auto* l : listeners) {
        const auto& c = l->_claimed;
        if (l->_node && l->onTouchMoved && std::find(c.begin(), c.end(), touch) != c.end())
            l->onTouchMoved(touch, &event);
        l->release();
    }
}

void EventDispatcher::touchEnded(int id, const Vec2& location) {
    Touch* touch = findTouch(id);
    if (!touch) return;
    touch->retain();
    touch->moveTo(location);
    const bool deliver = _enabled;
    Event event(Event::Type::TOUCH);
    auto listeners = _listeners;
    for (auto* l : listeners)
        l->retain();
    for (auto* l : listeners) {
        auto& c = l->_claimed;
        auto it = std::find(c.begin(), c.end(), touch);
        if (it != c.end()) {
            c.erase(it);
            touch->release();
            if (l->_node) {
                if (deliver && l->onTouchEnded)
                    l->onTouchEnded(touch, &event);
                else if (!deliver && l->onTouchCancelled)
                    l->onTouchCancelled(touch, &event);
            }
        }
        l->release();
    }
    forgetTouch(touch);
    touch->release();
}

void EventDispatcher::cancel(Touch* touch) {
    Event event(Event::Type::TOUCH);
    touch->retain();
    auto listeners = _listeners;
    for (auto* l : listeners)
        l->retain();
    for (auto* l : listeners) {
        auto& c = l->_claimed;
        if (std::find(c.begin(), c.end(), touch) != c.end() && l->_node && l->onTouchCancelled)
            l->onTouchCancelled(touch, &event);
        l->release();
    }
    forgetTouch(touch);
    touch->release();
}

void EventDispatcher::cancelTouch(int id) {
    if (Touch* touch = findTouch(id)) cancel(touch);
}

void EventDispatcher::cancelAllTouches() {
    while (!_touches.empty())
        cancel(_touches.back());
}

} // namespace cocos2d
