#include "engine/scene/Scene.h"

#include "engine/scene/Director.h"

namespace cocos2d {

Scene::Scene() {
    _ignoreAnchor = true;
    _anchorPoint = Vec2::ANCHOR_MIDDLE;
}

bool Scene::init() {
    setContentSize(Director::getInstance()->getWinSize());
    return true;
}

} // namespace cocos2d
