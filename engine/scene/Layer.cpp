#include "engine/scene/Layer.h"

#include "engine/scene/Director.h"

namespace cocos2d {

Layer::Layer() {
    _ignoreAnchor = true;
    _anchorPoint = Vec2::ANCHOR_MIDDLE;
}

bool Layer::init() {
    setContentSize(Director::getInstance()->getWinSize());
    return true;
}

bool Layer::onTouchBegan(Touch*, Event*) {
    return false;
}
void Layer::onTouchMoved(Touch*, Event*) {}
void Layer::onTouchEnded(Touch*, Event*) {}
void Layer::onTouchCancelled(Touch*, Event*) {}

} // namespace cocos2d
