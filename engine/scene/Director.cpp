#include "engine/scene/Director.h"

#include "engine/base/AutoreleasePool.h"
#include "engine/base/PlayerTexts.h"
#include "engine/graphics/Renderer.h"
#include "engine/graphics/TextureCache.h"
#include "engine/scene/ActionManager.h"
#include "engine/scene/EventDispatcher.h"
#include "engine/scene/InSight.h"
#include "engine/scene/Label.h"
#include "engine/scene/MenuItemImage.h"
#include "engine/scene/Overlay.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Scheduler.h"
#include "engine/scene/TransitionFade.h"
#include "engine/window/GLView.h"

#include <SDL.h>
#include <algorithm>
#include <string>
#include <vector>

namespace cocos2d {

Director* Director::getInstance() {
    // Never destroyed: nodes released during static destruction still reach it.
    static Director* director = new Director();
    return director;
}

Director::Director()
    : _actionManager(std::make_unique<ActionManager>()),
      _scheduler(std::make_unique<Scheduler>(_actionManager.get())),
      _eventDispatcher(std::make_unique<EventDispatcher>()) {}

void Director::setOpenGLView(GLView* view) {
    if (view == _view) return;
    if (view) view->retain();
    if (_view) _view->release();
    _view = view;
}

TextureCache* Director::getTextureCache() const {
    return TextureCache::getInstance();
}

Size Director::getWinSize() const {
    return _view ? _view->getDesignResolutionSize() : Size(1920, 1080);
}

void Director::runWithScene(Scene* scene) {
    if (_runningScene || !scene) {
        replaceScene(scene);
        return;
    }
    scene->retain();
    _runningScene = scene;
    scene->onEnter();
    sceneArrived();
}

void Director::replaceScene(Scene* scene) {
    if (!scene) return;
    scene->retain();
    if (_nextScene) _nextScene->release();
    _nextScene = scene;
}

void Director::applyPendingScene() {
    if (_nextScene && !dynamic_cast<TransitionFade*>(_runningScene)) setNextScene();
}

void Director::setNextScene() {
    Scene* next = _nextScene;
    _nextScene = nullptr;
    Scene* old = _runningScene;
    _eventDispatcher->cancelAllTouches();
    if (auto* transition = dynamic_cast<TransitionFade*>(next)) {
        // The old scene goes on running under the fade; the transition owns it from now on.
        transition->setOutScene(old);
        if (old) old->release();
        _runningScene = transition;
        transition->onEnter();
        return;
    }
    if (old) {
        old->onExit();
        old->cleanup();
        old->release();
    }
    _runningScene = next;
    next->onEnter();
    sceneArrived();
}

void Director::finishTransition(TransitionFade* transition) {
    Scene* in = transition->finish();
    transition->onExit();
    transition->cleanup();
    _runningScene = in;
    transition->release();
    sceneArrived();
}

void Director::touchBegan(int id, const Vec2& location) {
    if (!_runningScene || dynamic_cast<TransitionFade*>(_runningScene)) return;
    _eventDispatcher->touchBegan(id, location, _runningScene);
}

void Director::touchMoved(int id, const Vec2& location) {
    _eventDispatcher->touchMoved(id, location);
}

void Director::touchEnded(int id, const Vec2& location) {
    _eventDispatcher->touchEnded(id, location);
}

void Director::addDrawnOver(std::function<void(Renderer&)> draw) {
    _drawnOver.push_back(std::move(draw));
}

void Director::addSceneArrived(std::function<void()> heard) {
    _sceneArrived.push_back(std::move(heard));
}

void Director::sceneArrived() {
    _sceneArrival = true;
    for (const auto& heard : _sceneArrived)
        heard();
}

void Director::cancelTouch(int id) {
    _eventDispatcher->cancelTouch(id);
}

void Director::mainLoop(double dt, bool draw) {
    ++_frames;
    applyPendingScene();
    Overlay* overlay = Overlay::getInstance();
    overlay->advance(static_cast<float>(dt));
    if (_animating) {
        _scheduler->update(dt);
        if (auto* transition = dynamic_cast<TransitionFade*>(_runningScene)) {
            transition->advance(dt);
            if (transition->isFinished()) finishTransition(transition);
        }
        if (draw) drawFrame();
    } else if (_redrawWanted || overlay->revision() != _shownRevision) {
        // Stopped, the last picture stays as it was; it is drawn again only when the window
        // has lost it or a note over it has changed.
        drawFrame();
    }
}

void Director::drawFrame() {
    _redrawWanted = false;
    _shownRevision = Overlay::getInstance()->revision();
    if (!_view || !_view->hasWindow()) return;
    drawScene();
    _view->present();
}

void Director::drawScene() {
    if (!_view || !_view->getRenderer()) return;
    SDL_Renderer* sdl = _view->getRenderer();
    SDL_SetRenderDrawColor(sdl, 0, 0, 0, 255);
    SDL_RenderClear(sdl);
    Renderer renderer(sdl, _view->getDesignResolutionSize().height);
    if (_runningScene) _runningScene->visit(renderer, AffineTransform::IDENTITY, 255, Color3B::WHITE);
    for (const auto& draw : _drawnOver)
        draw(renderer);
    // The scene is searched for what the notes must keep clear of only while a note shows.
    Overlay* overlay = Overlay::getInstance();
    std::vector<Rect> keepClear;
    if (_runningScene && !overlay->notes().empty()) inSight(_runningScene, keepClear);
    overlay->draw(renderer, _view->getDesignResolutionSize(), keepClear);
    renderer.flush();
}

void Director::reset() {
    _eventDispatcher->cancelAllTouches();
    if (_nextScene) {
        _nextScene->release();
        _nextScene = nullptr;
    }
    if (_runningScene) {
        Scene* old = _runningScene;
        _runningScene = nullptr;
        old->onExit();
        old->cleanup();
        old->release();
    }
    AutoreleasePool::getInstance()->clear();
    _frames = 0;
    _animating = true;
}

} // namespace cocos2d
