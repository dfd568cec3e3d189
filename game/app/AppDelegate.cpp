#include "game/app/AppDelegate.h"

#include "engine/audio/SimpleAudioEngine.h"
#include "game/app/GameIdentity.h"
#include "game/app/ProgressMerge.h"
#include "game/common/Controls.h"
#include "game/common/GameConstants.h"
#include "game/common/Language.h"
#include "game/flow/SceneFlow.h"

USING_NS_CC;

AppDelegate::AppDelegate() {
    GameIdentity::install();
}

AppDelegate::~AppDelegate() = default;

void AppDelegate::initGLContextAttrs() {
    GLView::GLContextAttrs attrs = {8, 8, 8, 8, 24, 8};
    GLView::setGLContextAttrs(attrs);
}

// A second copy tells the player so in the system's language: the saved choice is the running
// copy's to read.
void AppDelegate::applicationWillOpen() {
    Language::pickFromSystem();
}

bool AppDelegate::applicationDidFinishLaunching() {
    Language::pickAtStart();
    auto director = Director::getInstance();
    auto glview = director->getOpenGLView();
    if (!glview) {
        glview = GLViewImpl::create("Doviveduzuz");
        director->setOpenGLView(glview);
    }
    director->setDisplayStats(false);
    director->setAnimationInterval(1.0f / 60);
    auto scene = SceneFlow::firstScene();
    if (glview)
        glview->setDesignResolutionSize(kDesignSize.width, kDesignSize.height, ResolutionPolicy::SHOW_ALL);
    // Notes over the game (paused, sound) in the game's own lettering, the first scene's too.
    Overlay::getInstance()->setFont(kGameFont, 40);
    // Keys and gamepads as well as the mouse and fingers; before the first scene, so that what
    // its panels give the controls finds the table in its order.
    Controls::install();
    director->runWithScene(scene);
    UserDefault::setLateMerge(&ProgressMerge::merge);
    return true;
}

void AppDelegate::applicationDidEnterBackground() {
    Director::getInstance()->stopAnimation();
    CocosDenshion::SimpleAudioEngine::getInstance()->pauseBackgroundMusic();
}

void AppDelegate::applicationWillEnterForeground() {
    Director::getInstance()->startAnimation();
    CocosDenshion::SimpleAudioEngine::getInstance()->resumeBackgroundMusic();
}
