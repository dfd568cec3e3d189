#include "UpgradeLayer.h"

#include "BackGround.h"
#include "CoinSprite.h"
#include "LifeGaugSprite.h"
#include "PriceLife.h"
#include "PriceTime.h"
#include "SimpleAudioEngine.h"
#include "StarManager.h"
#include "StartButton.h"
#include "TimeGaugSprite.h"
#include "TitleButton.h"
#include "UpgradeEventNode.h"
#include "UpgradeLifeNode.h"
#include "UpgradeNode.h"
#include "UpgradePlayer.h"
#include "UpgradeScore.h"

#include "SavedKeys.h"
#include <new>

USING_NS_CC;
using CocosDenshion::SimpleAudioEngine;

UpgradeLayer* UpgradeLayer::create(int coins) {
    auto* layer = new (std::nothrow) UpgradeLayer();
    if (layer && layer->initWithProgress(coins)) {
        layer->autorelease();
        return layer;
    }
    delete layer;
    return nullptr;
}

UpgradeLayer::~UpgradeLayer() = default;

bool UpgradeLayer::initWithProgress(int coins) {
    if (!Layer::init()) return false;
    userDefault = UserDefault::getInstance();
    isLeaving = false;

    auto* audio = SimpleAudioEngine::getInstance();
    audio->preloadBackgroundMusic("Music/Ru Tororari 160626-223524.mp3");
    audio->setBackgroundMusicVolume(0.8f);

    // A balance of 0 (from the title, or an empty round) keeps what the shop had.
    if (coins != 0)
        userDefault->setIntegerForKey(keys::kCoinScore, coins);
    else
        userDefault->setIntegerForKey(keys::kCoinScore, userDefault->getIntegerForKey(keys::kCoinScore));
    if (userDefault->getIntegerForKey(keys::kCoinScore) > 10000)
        userDefault->setIntegerForKey(keys::kCoinScore, 9999);
    // Only a damaged or edited store holds a debt; shown, it would run off the screen.
    if (userDefault->getIntegerForKey(keys::kCoinScore) < 0)
        userDefault->setIntegerForKey(keys::kCoinScore, 0);

    backGround = BackGround::create();
    addChild(backGround, 0);
    starManager = StarManager::create();
    addChild(starManager, 1);
    coinSprite = CoinSprite::create();
    addChild(coinSprite, 2);
    upgradeScore = UpgradeScore::create();
    addChild(upgradeScore, 2);
    startButton = StartButton::create();
    addChild(startButton, 4);
    upgradeNode = UpgradeNode::create();
    addChild(upgradeNode, 3);
    timeGaugSprite = TimeGaugSprite::create();
    addChild(timeGaugSprite, 3);
    priceTime = PriceTime::create();
    addChild(priceTime, 4);
    upgradeLifeNode = UpgradeLifeNode::create();
    addChild(upgradeLifeNode, 3);
    lifeGaugSprite = LifeGaugSprite::create();
    addChild(lifeGaugSprite, 3);
    priceLife = PriceLife::create();
    addChild(priceLife, 3);
    upgradePlayer = UpgradePlayer::create();
    addChild(upgradePlayer, 3);
    titleButton = TitleButton::create();
    addChild(titleButton, 3);
    upgradeEventNode = UpgradeEventNode::create();
    addChild(upgradeEventNode, 2);

    audio->playBackgroundMusic("Music/Ru Tororari 160626-223524.mp3", true);
    return true;
}

void UpgradeLayer::spendCoins(int price) {
    userDefault->setIntegerForKey(keys::kCoinScore, userDefault->getIntegerForKey(keys::kCoinScore) - price);
}
