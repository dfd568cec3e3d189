#include "Application.h"

#include "AutoreleasePool.h"
#include "Director.h"
#include "EventPump.h"
#include "FramePacer.h"
#include "GLView.h"
#include "InputMap.h"
#include "Overlay.h"
#include "SimpleAudioEngine.h"
#include "TextCache.h"
#include "TextureCache.h"
#include "UserDefault.h"

#include <SDL.h>
#include <SDL_image.h>

namespace cocos2d {

namespace {
Application* g_application = nullptr;
} // namespace

Application::Application() {
    g_application = this;
}

Application::~Application() {
    if (g_application == this) g_application = nullptr;
}

Application* Application::getInstance() {
    return g_application;
}

void Application::setAnimationInterval(float interval) {
    Director::getInstance()->setAnimationInterval(interval);
}

int Application::run() {
    initGLContextAttrs();
    if (!applicationDidFinishLaunching()) {
        shutdown();
        return 1;
    }
    Director* director = Director::getInstance();
    GLView* view = director->getOpenGLView();
    // The renderer opens now, while the first scene's pictures decode on worker threads.
    if (!view || !view->hasWindow() || !view->getRenderer()) {
        shutdown();
        return 1;
    }
    InputMap::getInstance()->setAction(InputMap::kFullscreen,
                                       [view] { view->setFullscreen(!view->isFullscreen()); });
    FramePacer pacer(FramePacer::systemClock(), director->getAnimationInterval(),
                     [view](bool on) { view->setVSync(on); });
    {
        EventPump events(this, false);
        while (true) {
            const bool wasMinimized = events.isMinimized();
            if (!events.pump()) break;
            events.tick();
            // Time spent minimised is not game time.
            if (wasMinimized && !events.isMinimized()) pacer.restart();

            pacer.setRefreshRate(view->getRefreshRate());
            director->mainLoop(pacer.beginFrame());
            // Looking for gamepads can take a while: it waits until the first frame is up.
            events.openGamepads();
            if (director->isAnimating())
                pacer.endFrame();
            else
                SDL_WaitEventTimeout(nullptr, 100);
        }
    }
    shutdown();
    return 0;
}

void Application::shutdown() {
    Director* director = Director::getInstance();
    director->reset();
    UserDefault::destroyInstance();
    CocosDenshion::SimpleAudioEngine::end();
    AutoreleasePool::getInstance()->clear();
    Overlay::getInstance()->clear();
    TextCache::getInstance()->clear();
    TextureCache::getInstance()->removeAllTextures();
    director->setOpenGLView(nullptr);
    AutoreleasePool::getInstance()->clear();
    IMG_Quit();
    SDL_Quit();
}

} // namespace cocos2d
