#include "Application.h"

#include "AutoreleasePool.h"
#include "Director.h"
#include "Display.h"
#include "FrameDriver.h"
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
    // The renderer opens now, while the first scene's pictures decode on worker threads.
    if (!view || !view->hasWindow() || !view->getRenderer()) {
        shutdown();
        return 1;
    }
    // The view is looked up when used: an action outlives the run that set it.
    InputMap::getInstance()->setAction(InputMap::kFullscreen, [] {
        if (GLView* shown = Director::getInstance()->getOpenGLView())
            shown->setFullscreen(!shown->isFullscreen());
    });
    FrameDriver::run(this, [view] {
        if (WindowState* state = view->windowState()) state->save();
        shutdown();
    });
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
