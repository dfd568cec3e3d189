#include "engine/scene/TransitionFade.h"

#include "engine/graphics/Renderer.h"

#include <algorithm>

namespace cocos2d {

TransitionFade* TransitionFade::create(float duration, Scene* scene, const Color3B& color) {
    if (!scene) return nullptr;
    auto* t = new TransitionFade();
    t->init();
    t->_duration = duration;
    t->_inScene = scene;
    scene->retain();
    t->_fadeColor = color;
    t->autorelease();
    return t;
}

TransitionFade::~TransitionFade() {
    if (_inScene) _inScene->release();
    if (_outScene) _outScene->release();
}

void TransitionFade::setOutScene(Scene* scene) {
    if (scene) scene->retain();
    if (_outScene) _outScene->release();
    _outScene = scene;
}

void TransitionFade::onEnter() {
    Scene::onEnter();
    // The new scene starts running with the fade.
    if (_inScene && !_inScene->isRunning()) _inScene->onEnter();
}

void TransitionFade::onExit() {
    Scene::onExit();
}

void TransitionFade::cleanup() {
    Scene::cleanup();
    if (_outScene) {
        if (_outScene->isRunning()) _outScene->onExit();
        _outScene->cleanup();
        _outScene->release();
        _outScene = nullptr;
    }
}

void TransitionFade::advance(double dt) {
    _elapsed += dt;
}

Scene* TransitionFade::finish() {
    Scene* in = _inScene;
    _inScene = nullptr;
    if (_outScene) {
        if (_outScene->isRunning()) _outScene->onExit();
        _outScene->cleanup();
        _outScene->release();
        _outScene = nullptr;
    }
    return in;
}

void TransitionFade::visit(Renderer& renderer, const AffineTransform& parentTransform, uint8_t,
                           const Color3B&) {
    const double half = _duration / 2;
    const double p = _duration > 0 ? std::clamp(_elapsed / _duration, 0.0, 1.0) : 1.0;
    Scene* shown = p < 0.5 ? _outScene : _inScene;
    if (shown) shown->visit(renderer, parentTransform, 255, Color3B::WHITE);
    const double alpha = half > 0 ? (p < 0.5 ? _elapsed / half : (_duration - _elapsed) / half) : 0.0;
    renderer.fillScreen(_fadeColor, static_cast<uint8_t>(std::clamp(alpha, 0.0, 1.0) * 255));
}

} // namespace cocos2d
