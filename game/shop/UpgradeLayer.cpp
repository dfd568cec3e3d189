#include "game/shop/UpgradeLayer.h"

#include "game/common/CreateWithProgress.h"

#include "engine/audio/SimpleAudioEngine.h"
#include "game/figures/BackGround.h"
#include "game/figures/StarManager.h"
#include "game/shop/CoinSprite.h"
#include "game/shop/LifeGaugSprite.h"
#include "game/shop/PriceLife.h"
#include "game/shop/PriceTime.h"
#include "game/shop/StartButton.h"
#include "game/shop/TimeGaugSprite.h"
#include "game/shop/TitleButton.h"
#include "game/shop/UpgradeEventNode.h"
#include "game/shop/UpgradeLifeNode.h"
#include "game/shop/UpgradeNode.h"
#include "game/shop/UpgradePlayer.h"
#include "game/shop/UpgradeScore.h"

#include "game/common/SavedKeys.h"

#include <algorithm>
#include <limits>

USING_NS_CC;
using CocosDenshion::SimpleAudioEngine;

UpgradeLayer* UpgradeLayer::create(int coins) {
    return createWithProgress<UpgradeLayer>(coins);
}

UpgradeLayer::~UpgradeLayer() = default;

bool UpgradeLayer::initWithProgress(int coins) {
    if (!Layer::init()) return false;
    userDefault = UserDefault::getInstance();
    isLeaving = false;

    auto* audio = SimpleAudioEngine::getInstance();
    audio->preloadBackgroundMusic("Music/Ru Tororari 160626-223524.mp3");
    audio->setBackgroundMusicVolume(0.8f);

    // A balance of 0 (from the title, or an empty round) keeps what the shop had, plus what
    // finished rounds won since the shop last opened; a round's balance holds those already.
    const int winnings = userDefault->getIntegerForKey(keys::kRoundWinnings);
    if (coins != 0) {
        userDefault->setIntegerForKey(keys::kCoinScore, coins);
    } else {
        const long long kept =
            static_cast<long long>(userDefault->getIntegerForKey(keys::kCoinScore)) + std::max(winnings, 0);
        userDefault->setIntegerForKey(
            keys::kCoinScore, static_cast<int>(std::min<long long>(kept, std::numeric_limits<int>::max())));
    }
    // Taken in once: set in the same frame as the balance, so no kill can count them twice.
    if (winnings != 0) userDefault->setIntegerForKey(keys::kRoundWinnings, 0);
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
