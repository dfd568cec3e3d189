#include "engine/scene/ActionInterval.h"

#include "engine/scene/Node.h"

#include <cmath>

namespace cocos2d {

MoveTo* MoveTo::create(float duration, const Vec2& position) {
    auto* a = new MoveTo();
    a->_duration = duration;
    a->_end = position;
    a->autorelease();
    return a;
}

void MoveTo::startWithTarget(Node* target) {
    FiniteTimeAction::startWithTarget(target);
    _start = target->getPosition();
}

void MoveTo::update(float t) {
    if (_target) _target->setPosition(_start + (_end - _start) * t);
}

ScaleTo* ScaleTo::create(float duration, float scale) {
    auto* a = new ScaleTo();
    a->_duration = duration;
    a->_end = scale;
    a->autorelease();
    return a;
}

void ScaleTo::startWithTarget(Node* target) {
    FiniteTimeAction::startWithTarget(target);
    _startX = target->getScaleX();
    _startY = target->getScaleY();
}

void ScaleTo::update(float t) {
    if (!_target) return;
    _target->setScaleX(_startX + (_end - _startX) * t);
    _target->setScaleY(_startY + (_end - _startY) * t);
}

FadeTo* FadeTo::create(float duration, uint8_t opacity) {
    auto* a = new FadeTo();
    a->_duration = duration;
    a->_end = opacity;
    a->autorelease();
    return a;
}

void FadeTo::startWithTarget(Node* target) {
    FiniteTimeAction::startWithTarget(target);
    _start = target->getOpacity();
}

void FadeTo::update(float t) {
    if (_target) _target->setOpacity(static_cast<uint8_t>(std::lround(_start + (_end - _start) * t)));
}

RotateBy* RotateBy::create(float duration, float deltaAngle) {
    auto* a = new RotateBy();
    a->_duration = duration;
    a->_delta = deltaAngle;
    a->autorelease();
    return a;
}

void RotateBy::startWithTarget(Node* target) {
    FiniteTimeAction::startWithTarget(target);
    _start = target->getRotation();
}

void RotateBy::update(float t) {
    // Kept within one turn so that endless spins do not lose precision.
    if (_target) _target->setRotation(std::fmod(_start + _delta * t, 360.0f));
}

DelayTime* DelayTime::create(float duration) {
    auto* a = new DelayTime();
    a->_duration = duration;
    a->autorelease();
    return a;
}

} // namespace cocos2d
