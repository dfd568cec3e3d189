#include "engine/scene/Animation.h"

#include "engine/graphics/Texture2D.h"
#include "engine/graphics/TextureCache.h"
#include "engine/scene/Sprite.h"

#include <algorithm>

namespace cocos2d {

Animation* Animation::create() {
    auto* a = new Animation();
    a->autorelease();
    return a;
}

void Animation::addSpriteFrameWithFileName(const std::string& file) {
    _frames.push_back(file);
    // Decode now, so the first loop does not read files mid-animation.
    TextureCache::getInstance()->addImage(file);
}

Animate* Animate::create(Animation* animation) {
    auto* a = new Animate();
    a->_animation = animation;
    animation->retain();
    a->_duration = static_cast<double>(animation->getDelayPerUnit()) * animation->getFrames().size();
    a->autorelease();
    return a;
}

Animate::~Animate() {
    _animation->release();
    if (_original) _original->release();
}

void Animate::startWithTarget(Node* target) {
    FiniteTimeAction::startWithTarget(target);
    if (_original) _original->release();
    _original = nullptr;
    if (auto* sprite = dynamic_cast<Sprite*>(target)) {
        _original = sprite->getTexture();
        if (_original) _original->retain();
    }
    _shown = -1;
}

void Animate::update(float t) {
    auto* sprite = dynamic_cast<Sprite*>(_target);
    const auto& frames = _animation->getFrames();
    if (!sprite || frames.empty()) return;
    const int count = static_cast<int>(frames.size());
    const int index = std::min(count - 1, static_cast<int>(t * count));
    if (index == _shown) return;
    _shown = index;
    sprite->setTexture(TextureCache::getInstance()->addImage(frames[index]));
}

void Animate::stop() {
    if (_animation->getRestoreOriginalFrame())
        if (auto* sprite = dynamic_cast<Sprite*>(_target)) sprite->setTexture(_original);
    FiniteTimeAction::stop();
}

} // namespace cocos2d
