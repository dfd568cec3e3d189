#include "Application.h"

#include "AutoreleasePool.h"
#include "Director.h"
#include "Display.h"
#include "EventPump.h"
#include "GLView.h"
#include "InputMap.h"
#include "InstanceLock.h"
#include "Overlay.h"
#include "SimpleAudioEngine.h"
#include "SoundSettings.h"
#include "TextCache.h"
#include "TextureCache.h"
#include "UserDefault.h"
#include "WindowState.h"

#include <SDL.h>
#include <SDL_image.h>
#include <algorithm>

namespace cocos2d {

namespace {
Application* g_application = nullptr;
// A stall (the window dragged, the machine busy) must not throw the game ahead.
constexpr double kMaxFrameTime = 0.1;
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
    // A second copy on the same progress would write over the first's purchases.
    InstanceLock lock(UserDefault::storeFolder());
    if (!lock.held()) {
        lock.tellAlreadyRunning();
        return 0;
    }
    if (!Display::open()) {
        SDL_Quit();
        return 1;
    }
    initGLContextAttrs();
    SoundSettings::install();
    if (!applicationDidFinishLaunching()) {
        shutdown();
        return 1;
    }
    Director* director = Director::getInstance();
    GLView* view = director->getOpenGLView();
    if (!view || !view->hasWindow()) {
        shutdown();
        return 1;
    }
    // The view is looked up when used: an action outlives the run that set it.
    InputMap::getInstance()->setAction(InputMap::kFullscreen, [] {
        if (GLView* shown = Director::getInstance()->getOpenGLView())
            shown->setFullscreen(!shown->isFullscreen());
    });
    const double frequency = static_cast<double>(SDL_GetPerformanceFrequency());
    Uint64 last = SDL_GetPerformanceCounter();
    {
        EventPump events(this);
        while (true) {
            const bool wasPaused = events.isPaused();
            if (!events.pump()) break;
            events.tick();
            // Time spent paused is not game time.
            if (wasPaused && !events.isPaused()) last = SDL_GetPerformanceCounter();

            const Uint64 now = SDL_GetPerformanceCounter();
            const double dt = std::clamp((now - last) / frequency, 0.0, kMaxFrameTime);
            last = now;
            director->mainLoop(dt);

            // Sleep away what is left of the frame.
            const double interval = director->getAnimationInterval();
            const double spent = (SDL_GetPerformanceCounter() - now) / frequency;
            if (!director->isAnimating())
                SDL_WaitEventTimeout(nullptr, 100);
            else if (spent < interval)
                SDL_Delay(static_cast<Uint32>((interval - spent) * 1000));
        }
    }
    if (WindowState* state = view->windowState()) state->save();
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
