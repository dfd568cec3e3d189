#include "game/round/GameLayer.h"

#include "game/common/CreateWithProgress.h"

#include "engine/audio/SimpleAudioEngine.h"
#include "game/figures/BackGround.h"
#include "game/figures/PlantBom.h"
#include "game/figures/Player.h"
#include "game/figures/SpeedGround.h"
#include "game/figures/StarManager.h"
#include "game/round/AnswerManager.h"
#include "game/round/AnswerPlate.h"
#include "game/round/BarrierField.h"
#include "game/round/BonusEffect.h"
#include "game/round/ButtonManager.h"
#include "game/round/EffectManager.h"
#include "game/round/HighScoreSprite.h"
#include "game/round/Planet.h"
#include "game/round/ScoreLabel.h"
#include "game/round/ScorePlate.h"
#include "game/round/TargetManager.h"
#include "game/round/TargetPlate.h"
#include "game/round/TimeSprite.h"
#include "game/round/result/ResultGround.h"
#include "game/round/result/ResultHighScoreLabel.h"
#include "game/round/result/ResultScoreLabel.h"
#include "game/round/result/RetryButton.h"
#include "game/round/result/UpgradeButton.h"

#include "game/common/SavedKeys.h"
#include <algorithm>
#include <limits>

USING_NS_CC;
using CocosDenshion::SimpleAudioEngine;

namespace {
const char* const kRoundMusic = "Music/Mu Judetudi 160626-234500.mp3";

// Takes a stage object out of the tree and forgets it, so nobody reaches it afterwards.
template <typename T> void removeAndForget(T*& member) {
    if (!member) return;
    T* node = member;
    member = nullptr;
    node->removeFromParentAndCleanup(true);
}

// Seconds a stage gets at a time-upgrade level; any other level keeps the timer's own 0.
int stageSeconds(int timeLevel, int stageCount, int unchanged) {
    switch (timeLevel) {
    case 0:
        return 5 - stageCount;
    case 1:
        return 8 - stageCount;
    case 2:
        return 13 - stageCount;
    case 3:
        return 20 - stageCount;
    default:
        return unchanged;
    }
}
} // namespace

GameLayer* GameLayer::create(int coins, int timeLevel, int lifeLevel) {
    return createWithProgress<GameLayer>(coins, timeLevel, lifeLevel);
}

GameLayer::~GameLayer() = default;

bool GameLayer::initWithProgress(int coins, int timeLevel, int lifeLevel) {
    if (!Layer::init()) return false;

    userDefault = UserDefault::getInstance();
    userDefault->setIntegerForKey(keys::kRoundCoins, coins);
    userDefault->setIntegerForKey(keys::kRoundTimeLevel, timeLevel);
    userDefault->setIntegerForKey(keys::kRoundLifeLevel, lifeLevel);

    // Only a damaged or edited store holds a level outside 0..3; above 3 it would give a round
    // that never ends, and its score would never be banked.
    lives = std::clamp(userDefault->getIntegerForKey(keys::kRoundLifeLevel), 0, 3);
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

    setUpStage();

    planet = Planet::create();
    addChild(planet, 8);
    resultGround = ResultGround::create();
    addChild(resultGround, 10);
    scoreLabel = ScoreLabel::create();
    addChild(scoreLabel, 5);
    resultScoreLabel = ResultScoreLabel::create();
    addChild(resultScoreLabel, 11);
    retryButton = RetryButton::create();
    addChild(retryButton, 11);
    upgradeButton = UpgradeButton::create();
    addChild(upgradeButton, 11);
    resultHighScoreLabel = ResultHighScoreLabel::create();
    addChild(resultHighScoreLabel, 11);
    scorePlate = ScorePlate::create();
    addChild(scorePlate, 4);
    answerPlate = AnswerPlate::create();
    addChild(answerPlate, 3);
    highScoreSprite = HighScoreSprite::create();
    addChild(highScoreSprite, 11);
    barrierField = BarrierField::create();
    addChild(barrierField, 8);

    audio->playBackgroundMusic(kRoundMusic, true);
    return true;
}

void GameLayer::setUpStage() {
    ++stageCount;
    // Obstructions come more often stage by stage, but never in the first.
    --jiyamaThreshold;
    if (jiyamaThreshold <= 10) jiyamaThreshold = 10;

    targetManager = TargetManager::create();
    targetManager->addJiyamas(jiyamaThreshold);
    addChild(targetManager, 4);

    targetPlate = TargetPlate::create();
    addChild(targetPlate, 3);

    bonusEffect = BonusEffect::create();
    addChild(bonusEffect, 4);

    buttonManager = ButtonManager::create();
    buttonManager->setVisible(true);
    addChild(buttonManager, 5);

    answerManager = AnswerManager::create();
    addChild(answerManager, 4);

    effectManager = EffectManager::create();
    addChild(effectManager, 10);

    timeSprite = TimeSprite::create();
    // Each stage is a second shorter than the one before, down to four seconds.
    timeSprite->seconds =
        stageSeconds(userDefault->getIntegerForKey(keys::kRoundTimeLevel), stageCount, timeSprite->seconds);
    if (timeSprite->seconds < 4) timeSprite->seconds = 4;
    addChild(timeSprite, 5);
}

void GameLayer::clearStage() {
    removeAndForget(targetManager);
    removeAndForget(buttonManager);
    removeAndForget(answerManager);
    removeAndForget(timeSprite);
    removeAndForget(targetPlate);
    removeAndForget(bonusEffect);
}

// The timer and the stage's lights stay on screen under the result panel.
void GameLayer::clearStageForGameOver() {
    removeAndForget(targetManager);
    removeAndForget(buttonManager);
    removeAndForget(answerManager);
    removeAndForget(targetPlate);
    removeAndForget(answerPlate);
    removeAndForget(bonusEffect);
}

void GameLayer::bankScore() {
    // A balance near the int limit stops there rather than wrapping round to a debt.
    const long long banked = static_cast<long long>(userDefault->getIntegerForKey(keys::kRoundCoins)) + score;
    userDefault->setIntegerForKey(
        keys::kRoundCoins, static_cast<int>(std::min<long long>(banked, std::numeric_limits<int>::max())));
    // The shop takes these in the next time it opens, however the player gets there: closing
    // the game on the result panel must not lose them.
    const long long owed =
        static_cast<long long>(userDefault->getIntegerForKey(keys::kRoundWinnings)) + score;
    userDefault->setIntegerForKey(
        keys::kRoundWinnings, static_cast<int>(std::min<long long>(owed, std::numeric_limits<int>::max())));
    // The best score goes in the same frame as the coins: a game closed before the result
    // shows keeps both. The result panel still tells a new best by the one before.
    bestBefore = userDefault->getIntegerForKey(keys::kHighScore);
    if (score > bestBefore) userDefault->setIntegerForKey(keys::kHighScore, score);
}

void GameLayer::loseLife() {
    --lives;
    // Felt in the hands as well as seen, on a pad that can.
    InputMap::getInstance()->rumble(0.5f, 0.25f);
}

void GameLayer::addScore() {
    ++score;
}

void GameLayer::addBonusScore() {
    score += 10;
}

void GameLayer::hideButtons() {
    if (!buttonManager) return;
    // A hidden button manager takes no presses.
    buttonManager->setVisible(false);
    buttonManager->clearBonus();
}

void GameLayer::removeEffectManager() {
    removeAndForget(effectManager);
}

void GameLayer::stopMusic() {
    SimpleAudioEngine::getInstance()->stopBackgroundMusic(false);
}
