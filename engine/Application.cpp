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
// In fullscreen the mouse cursor hides after this long without moving.
constexpr Uint32 kCursorHideMs = 2000;
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
    if (!view || !view->hasWindow()) {
        shutdown();
        return 1;
    }
    const double frequency = static_cast<double>(SDL_GetPerformanceFrequency());
    Uint64 last = SDL_GetPerformanceCounter();
    bool minimized = false;
    bool mouseDown = false;
    bool quit = false;
    Uint32 lastMouseMove = SDL_GetTicks();
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
                } else if ((e.window.event == SDL_WINDOWEVENT_RESTORED ||
                            e.window.event == SDL_WINDOWEVENT_SHOWN) &&
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
            case SDL_KEYDOWN:
            case SDL_KEYUP: {
                const bool pressed = e.type == SDL_KEYDOWN;
                const SDL_Scancode code = e.key.keysym.scancode;
                const bool altEnter = (code == SDL_SCANCODE_RETURN || code == SDL_SCANCODE_KP_ENTER) &&
                                      (e.key.keysym.mod & KMOD_ALT);
                if (code == SDL_SCANCODE_F11 || altEnter) {
                    if (pressed && !e.key.repeat) view->setFullscreen(!view->isFullscreen());
                    break;
                }
                // Held keys repeat; a control is pressed once per key press.
                if (!e.key.repeat) director->keyEvent(code, pressed);
                break;
            }
            case SDL_MOUSEMOTION:
                lastMouseMove = SDL_GetTicks();
                SDL_ShowCursor(SDL_ENABLE);
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
        if (view->isFullscreen() && SDL_GetTicks() - lastMouseMove > kCursorHideMs)
            SDL_ShowCursor(SDL_DISABLE);
        else if (!view->isFullscreen())
            SDL_ShowCursor(SDL_ENABLE);

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
