#include "game/round/result/ResultGround.h"

#include "engine/audio/SimpleAudioEngine.h"
#include "game/common/Hub.h"
#include "game/round/GameLayer.h"

USING_NS_CC;
using CocosDenshion::SimpleAudioEngine;

namespace {
const char* const kGameOverTune = "Music/ME048-151031-gameover07-wav.mp3";
}

ResultGround::~ResultGround() = default;

bool ResultGround::init() {
    if (!Sprite::init()) return false;
    // Read now, so the panel appears without a pause.
    Director::getInstance()->getTextureCache()->addImage("GameScene/black2.png");
    auto* audio = SimpleAudioEngine::getInstance();
    audio->preloadBackgroundMusic(kGameOverTune);
    audio->setBackgroundMusicVolume(0.5f);
    return true;
}

void ResultGround::startResult() {
    scheduleOnce(CC_SCHEDULE_SELECTOR(ResultGround::showResult), 1.5f);
}

void ResultGround::showResult(float) {
    if (auto* layer = hubOf<GameLayer>(this)) layer->stopMusic();
    SimpleAudioEngine::getInstance()->playBackgroundMusic(kGameOverTune, false);
    initWithFile("GameScene/black2.png");
    setPosition(kScreenCentre);
    // The playfield stays visible behind the panel, darkened.
    setOpacity(170);
}
