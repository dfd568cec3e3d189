#include "GameLayer.h"

#include "BackGround.h"
#include "PlantBom.h"
#include "Player.h"
#include "SimpleAudioEngine.h"
#include "SpeedGround.h"
#include "StarManager.h"

#include <new>

USING_NS_CC;
using CocosDenshion::SimpleAudioEngine;

namespace {
const char* const kRoundMusic = "Music/Mu Judetudi 160626-234500.mp3";
}

GameLayer* GameLayer::create(int coins, int timeLevel, int lifeLevel) {
    auto* layer = new (std::nothrow) GameLayer();
    if (layer && layer->initWithProgress(coins, timeLevel, lifeLevel)) {
        layer->autorelease();
        return layer;
    }
    delete layer;
    return nullptr;
}

GameLayer::~GameLayer() = default;

bool GameLayer::initWithProgress(int coins, int timeLevel, int lifeLevel) {
    if (!Layer::init()) return false;

    userDefault = UserDefault::getInstance();
    userDefault->setIntegerForKey("scoreMoney", coins);
    userDefault->setIntegerForKey("gaug1", timeLevel);
    userDefault->setIntegerForKey("gaug2", lifeLevel);

    lives = userDefault->getIntegerForKey("gaug2");
    score = 0;
    jiyamaThreshold = 101;
    stageCount = 0;

    auto* audio = SimpleAudioEngine::getInstance();
    audio->preloadBackgroundMusic(kRoundMusic);
    audio->setBackgroundMusicVolume(0.9f);

    backGround = BackGround::create();
    addChild(backGround, 0);
    starManager = StarManager::create();
    addChild(starManager, 1);
    speedGround = SpeedGround::create();
    addChild(speedGround, 1);
    player = Player::create();
    addChild(player, 9);
    player->enter();
    plantBom = PlantBom::create();
    addChild(plantBom, 7);
    plantBom->enter();

    audio->playBackgroundMusic(kRoundMusic, true);
    return true;
}

void GameLayer::setUpStage() {}
void GameLayer::clearStage() {}
void GameLayer::clearStageForGameOver() {}
void GameLayer::bankScore() {}
void GameLayer::loseLife() { --lives; }
void GameLayer::addScore() { ++score; }
void GameLayer::addBonusScore() { score += 10; }
void GameLayer::hideButtons() {}
void GameLayer::removeEffectManager() {}
void GameLayer::stopMusic() { SimpleAudioEngine::getInstance()->stopBackgroundMusic(false); }
