#include "Application.h"

#include "AutoreleasePool.h"
#include "Director.h"
#include "GLView.h"
#include "SimpleAudioEngine.h"
#include "TextCache.h"
#include "TextureCache.h"
#include "UserDefault.h"

#include <SDL.h>
#include <SDL_image.h>
#include <algorithm>

namespace cocos2d {

namespace {
Application* g_application = nullptr;
// A stall (the window dragged, the machine busy) must not throw the game ahead.
constexpr double kMaxFrameTime = 0.1;
} // namespace

Application::Application() { g_application = this; }

Application::~Application() {
    if (g_application == this) g_application = nullptr;
}

Application* Application::getInstance() { return g_application; }

void Application::setAnimationInterval(float interval) { Director::getInstance()->setAnimationInterval(interval); }

int Application::run() {
    initGLContextAttrs();
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
    const double frequency = static_cast<double>(SDL_GetPerformanceFrequency());
    Uint64 last = SDL_GetPerformanceCounter();
    bool minimized = false;
    bool mouseDown = false;
    bool quit = false;
    while (!quit) {
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
            const float designHeight = view->getDesignResolutionSize().height;
            switch (e.type) {
            case SDL_QUIT:
                quit = true;
                break;
            case SDL_WINDOWEVENT:
                if (e.window.event == SDL_WINDOWEVENT_MINIMIZED && !minimized) {
                    minimized = true;
                    applicationDidEnterBackground();
                } else if ((e.window.event == SDL_WINDOWEVENT_RESTORED || e.window.event == SDL_WINDOWEVENT_SHOWN) &&
                           minimized) {
                    minimized = false;
                    applicationWillEnterForeground();
                    last = SDL_GetPerformanceCounter();
                }
                break;
            case SDL_MOUSEBUTTONDOWN:
                // Mouse positions arrive in design units, since the renderer has a logical size.
                if (e.button.button == SDL_BUTTON_LEFT) {
                    mouseDown = true;
                    director->touchBegan(0, Vec2(static_cast<float>(e.button.x), designHeight - e.button.y));
                }
                break;
            case SDL_MOUSEMOTION:
                if (mouseDown)
                    director->touchMoved(0, Vec2(static_cast<float>(e.motion.x), designHeight - e.motion.y));
                break;
            case SDL_MOUSEBUTTONUP:
                if (e.button.button == SDL_BUTTON_LEFT && mouseDown) {
                    mouseDown = false;
                    director->touchEnded(0, Vec2(static_cast<float>(e.button.x), designHeight - e.button.y));
                }
                break;
            default:
                break;
            }
        }
        if (quit) break;

        const Uint64 now = SDL_GetPerformanceCounter();
        const double dt = std::clamp((now - last) / frequency, 0.0, kMaxFrameTime);
        last = now;
        director->mainLoop(dt);

        // Sleep away what is left of the frame.
        const double interval = director->getAnimationInterval();
        const double spent = (SDL_GetPerformanceCounter() - now) / frequency;
        if (!director->isAnimating()) SDL_WaitEventTimeout(nullptr, 100);
        else if (spent < interval) SDL_Delay(static_cast<Uint32>((interval - spent) * 1000));
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
    TextCache::getInstance()->clear();
    TextureCache::getInstance()->removeAllTextures();
    director->setOpenGLView(nullptr);
    AutoreleasePool::getInstance()->clear();
    IMG_Quit();
    SDL_Quit();
}

} // namespace cocos2d
