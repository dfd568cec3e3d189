#include "engine/scene/Node.h"

#include "engine/graphics/Renderer.h"
#include "engine/scene/Action.h"
#include "engine/scene/ActionManager.h"
#include "engine/scene/Director.h"
#include "engine/scene/EventDispatcher.h"
#include "engine/scene/Scheduler.h"

#include <algorithm>
#include <cmath>
#include <cxxabi.h>
#include <memory>
#include <typeinfo>

namespace cocos2d {

namespace {
unsigned long long g_arrival = 0;
constexpr float kDegToRad = 3.14159265358979323846f / 180.0f;
} // namespace

Node::Node() = default;

Node* Node::create() {
    auto* node = new Node();
    node->autorelease();
    return node;
}

Node::~Node() {
    // Anything still scheduled or listening for this node must not outlive it.
    auto* director = Director::getInstance();
    director->getActionManager()->removeAllActionsFromTarget(this);
    director->getScheduler()->unscheduleAllForTarget(this);
    director->getEventDispatcher()->removeEventListenersForTarget(this);
    if (_removedHook) _removedHook(this);
    for (Node* child : _children) {
        child->_parent = nullptr;
        child->release();
    }
}

void Node::addChild(Node* child) {
    addChild(child, child ? child->_localZOrder : 0);
}

void Node::addChild(Node* child, int localZOrder) {
    if (!child || child->_parent || child == this) return;
    child->retain();
    child->_parent = this;
    child->_localZOrder = localZOrder;
    child->_orderOfArrival = ++g_arrival;
    _children.push_back(child);
    _childrenDirty = true;
    if (_running) child->onEnter();
}

void Node::removeChild(Node* child, bool cleanup) {
    auto it = std::find(_children.begin(), _children.end(), child);
    if (it == _children.end()) return;
    _children.erase(it);
    if (child->_running) child->onExit();
    if (cleanup) child->cleanup();
    child->_parent = nullptr;
    child->release();
}

void Node::removeFromParentAndCleanup(bool cleanup) {
    if (_parent) _parent->removeChild(this, cleanup);
}

void Node::removeAllChildrenWithCleanup(bool cleanup) {
    while (!_children.empty())
        removeChild(_children.back(), cleanup);
}

const std::vector<Node*>& Node::getChildren() const {
    sortChildrenIfNeeded();
    return _children;
}

void Node::sortChildrenIfNeeded() const {
    if (!_childrenDirty) return;
    std::sort(_children.begin(), _children.end(), [](const Node* a, const Node* b) {
        return a->_localZOrder != b->_localZOrder ? a->_localZOrder < b->_localZOrder
                                                  : a->_orderOfArrival < b->_orderOfArrival;
    });
    _childrenDirty = false;
}

void Node::setLocalZOrder(int z) {
    if (z == _localZOrder) return;
    _localZOrder = z;
    if (_parent) _parent->_childrenDirty = true;
}

void Node::setPosition(const Vec2& position) {
    _position = position;
}
void Node::setScale(float scale) {
    _scaleX = _scaleY = scale;
}
void Node::setScaleX(float scaleX) {
    _scaleX = scaleX;
}
void Node::setScaleY(float scaleY) {
    _scaleY = scaleY;
}
void Node::setRotation(float degrees) {
    _rotation = degrees;
}
void Node::setAnchorPoint(const Vec2& anchor) {
    _anchorPoint = anchor;
}
void Node::setContentSize(const Size& size) {
    _contentSize = size;
}
void Node::setIgnoreAnchorPointForPosition(bool ignore) {
    _ignoreAnchor = ignore;
}

AffineTransform Node::getNodeToParentTransform() const {
    const Vec2 anchor(_anchorPoint.x * _contentSize.width, _anchorPoint.y * _contentSize.height);
    Vec2 origin = _position;
    if (_ignoreAnchor) origin = origin + anchor;
    float cr = 1, sr = 0;
    if (_rotation != 0) {
        cr = std::cos(_rotation * kDegToRad);
        sr = std::sin(_rotation * kDegToRad);
    }
    // translate(origin) * rotate(clockwise) * scale * translate(-anchor)
    AffineTransform t;
    t.a = cr * _scaleX;
    t.b = -sr * _scaleX;
    t.c = sr * _scaleY;
    t.d = cr * _scaleY;
    t.tx = origin.x - (t.a * anchor.x + t.c * anchor.y);
    t.ty = origin.y - (t.b * anchor.x + t.d * anchor.y);
    return t;
}

AffineTransform Node::getNodeToWorldTransform() const {
    AffineTransform t = getNodeToParentTransform();
    for (const Node* p = _parent; p; p = p->_parent)
        t = p->getNodeToParentTransform() * t;
    return t;
}

Vec2 Node::convertToNodeSpace(const Vec2& worldPoint) const {
    return getNodeToWorldTransform().inverse().apply(worldPoint);
}

Vec2 Node::convertToWorldSpace(const Vec2& nodePoint) const {
    return getNodeToWorldTransform().apply(nodePoint);
}

bool Node::isShown() const {
    for (const Node* n = this; n; n = n->_parent)
        if (!n->_visible) return false;
    return true;
}

void Node::onEnter() {
    _running = true;
    // Iterate over a copy: a child's onEnter may add or remove siblings.
    std::vector<Node*> children = _children;
    for (Node* c : children)
        c->retain();
    for (Node* c : children) {
        if (c->_parent == this && !c->_running) c->onEnter();
        c->release();
    }
}

void Node::onExit() {
    _running = false;
    std::vector<Node*> children = _children;
    for (Node* c : children)
        c->retain();
    for (Node* c : children) {
        if (c->_parent == this && c->_running) c->onExit();
        c->release();
    }
}

void Node::cleanup() {
    auto* director = Director::getInstance();
    director->getActionManager()->removeAllActionsFromTarget(this);
    director->getScheduler()->unscheduleAllForTarget(this);
    director->getEventDispatcher()->removeEventListenersForTarget(this);
    for (Node* c : _children)
        c->cleanup();
}

void Node::pause() {
    _paused = true;
}
void Node::resume() {
    _paused = false;
}

Action* Node::runAction(Action* action) {
    if (action) Director::getInstance()->getActionManager()->addAction(action, this);
    return action;
}

void Node::stopAction(Action* action) {
    if (action && action->getTarget() == this)
        Director::getInstance()->getActionManager()->removeAction(action);
}

void Node::stopAllActions() {
    Director::getInstance()->getActionManager()->removeAllActionsFromTarget(this);
}

std::size_t Node::getNumberOfRunningActions() const {
    return Director::getInstance()->getActionManager()->getNumberOfRunningActionsInTarget(this);
}

void Node::scheduleUpdate() {
    Director::getInstance()->getScheduler()->scheduleUpdate(this);
}
void Node::unscheduleUpdate() {
    Director::getInstance()->getScheduler()->unscheduleUpdate(this);
}
void Node::update(float) {}

void Node::schedule(SEL_SCHEDULE selector, float interval) {
    Director::getInstance()->getScheduler()->schedule(selector, this, interval, false);
}

void Node::scheduleOnce(SEL_SCHEDULE selector, float delay) {
    Director::getInstance()->getScheduler()->schedule(selector, this, delay, true);
}

void Node::unschedule(SEL_SCHEDULE selector) {
    Director::getInstance()->getScheduler()->unschedule(selector, this);
}

void Node::unscheduleAllCallbacks() {
    Director::getInstance()->getScheduler()->unscheduleAllForTarget(this);
}

bool Node::isScheduled(SEL_SCHEDULE selector) const {
    return Director::getInstance()->getScheduler()->isScheduled(selector, this);
}

void Node::visit(Renderer& renderer, const AffineTransform& parentTransform, uint8_t parentOpacity,
                 const Color3B& parentColor) {
    if (!_visible) return;
    const AffineTransform transform = parentTransform * getNodeToParentTransform();
    const uint8_t opacity = static_cast<uint8_t>(_opacity * parentOpacity / 255);
    const Color3B color(static_cast<uint8_t>(_color.r * parentColor.r / 255),
                        static_cast<uint8_t>(_color.g * parentColor.g / 255),
                        static_cast<uint8_t>(_color.b * parentColor.b / 255));
    const uint8_t childOpacity = _cascadeOpacity ? opacity : 255;
    const Color3B childColor = _cascadeColor ? color : Color3B::WHITE;

    sortChildrenIfNeeded();
    std::size_t i = 0;
    for (; i < _children.size() && _children[i]->_localZOrder < 0; ++i)
        _children[i]->visit(renderer, transform, childOpacity, childColor);
    draw(renderer, transform, opacity, color);
    for (; i < _children.size(); ++i)
        _children[i]->visit(renderer, transform, childOpacity, childColor);
}

void Node::draw(Renderer&, const AffineTransform&, uint8_t, const Color3B&) {}

std::string Node::getTypeName() const {
    const char* mangled = typeid(*this).name();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                                     std::free);
    std::string name = status == 0 && demangled ? demangled.get() : mangled;
    auto pos = name.rfind("::");
    return pos == std::string::npos ? name : name.substr(pos + 2);
}

} // namespace cocos2d
