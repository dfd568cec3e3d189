#include "game/title/TitleLayer.h"

#include "engine/audio/SimpleAudioEngine.h"
#include "game/common/Controls.h"
#include "game/common/GameVersion.h"
#include "game/figures/BackGround.h"
#include "game/figures/StarManager.h"
#include "game/title/Tap.h"
#include "game/title/Title.h"
#include "game/title/TitleBackGround.h"
#include "game/title/TitlePlayer.h"

USING_NS_CC;
using CocosDenshion::SimpleAudioEngine;

TitleLayer::~TitleLayer() = default;

bool TitleLayer::init() {
    if (!Layer::init()) return false;
    canTap = true;

    auto* audio = SimpleAudioEngine::getInstance();
    audio->preloadBackgroundMusic("Music/8bit-Town01.mp3");
    audio->preloadBackgroundMusic("Music/decision24.mp3");
    audio->setBackgroundMusicVolume(0.5f);
    audio->playBackgroundMusic("Music/8bit-Town01.mp3", true);

    auto* listener = EventListenerTouchOneByOne::create();
    listener->setSwallowTouches(true);
    listener->onTouchBegan = CC_CALLBACK_2(TitleLayer::onTouchBegan, this);
    listener->onTouchMoved = CC_CALLBACK_2(TitleLayer::onTouchMoved, this);
    listener->onTouchEnded = CC_CALLBACK_2(TitleLayer::onTouchEnded, this);
    Director::getInstance()->getEventDispatcher()->addEventListenerWithSceneGraphPriority(listener, this);
    // Any point starts the game; this one, just right of the prompt, is where its badge goes.
    InputMap::getInstance()->attachPoint(
        Controls::kTapAnywhere, this,
        Vec2(kDesignSize.width / 2 + 420, static_cast<float>(kDesignSize.height * 0.15)));

    titleBackGround = TitleBackGround::create();
    addChild(titleBackGround, 0);
    title = Title::create();
    addChild(title, 2);
    titlePlayer = TitlePlayer::create();
    addChild(titlePlayer, 1);
    tap = Tap::create();
    addChild(tap, 2);
    backGround = BackGround::create();
    addChild(backGround, -2);
    starManager = StarManager::create();
    addChild(starManager, -1);
    // Which version this is, for a player writing about it, without catching the eye.
    auto* version = Label::createWithTTF(std::string("v") + kGameVersion, kGameFont, 32);
    version->setAnchorPoint(Vec2(1, 0));
    version->setPosition(kDesignSize.width - 16, 12);
    version->setOpacity(160);
    addChild(version, 2);
    return true;
}

// Claim every touch so that its end reaches us wherever it lands.
bool TitleLayer::onTouchBegan(Touch*, Event*) {
    return true;
}

void TitleLayer::onTouchMoved(Touch*, Event*) {}

void TitleLayer::onTouchEnded(Touch*, Event*) {
    if (!canTap) return;
    auto* audio = SimpleAudioEngine::getInstance();
    audio->stopBackgroundMusic(false);
    audio->playBackgroundMusic("Music/decision24.mp3", false);
    tap->stopBlink();
    title->leave();
    titlePlayer->launch();
    canTap = false;
}
