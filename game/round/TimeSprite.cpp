#include "game/round/TimeSprite.h"

#include "game/common/Hub.h"
#include "game/figures/Player.h"
#include "game/round/AnswerManager.h"
#include "game/round/GameLayer.h"
#include "game/round/Planet.h"
#include "game/round/result/ResultGround.h"
#include "game/round/result/ResultHighScoreLabel.h"
#include "game/round/result/ResultScoreLabel.h"
#include "game/round/result/RetryButton.h"
#include "game/round/result/UpgradeButton.h"

USING_NS_CC;

bool TimeSprite::init() {
    if (!Sprite::init()) return false;
    seconds = 0;
    fadeTime = 1.0f;
    isArmed = true;

    initWithFile("GameScene/smoke.png");
    // The time left: no note or key prompt may hide it.
    setKeptInSight(true);
    setPosition(static_cast<float>(kDesignSize.width * 0.85), kDesignSize.height / 2);
    setColor(Color3B(0, 255, 0));
    runAction(
        RepeatForever::create(Sequence::create(FadeTo::create(fadeTime, 20), FadeTo::create(fadeTime, 255))));

    scheduleUpdate();
    schedule(CC_SCHEDULE_SELECTOR(TimeSprite::countDown), 1.0f);
    return true;
}

void TimeSprite::countDown(float) {
    --seconds;
}

void TimeSprite::stopCountDown() {
    unschedule(CC_SCHEDULE_SELECTOR(TimeSprite::countDown));
    // A row completed in the frame after the last second ran out still counts: once stopped,
    // no time-out follows.
    isArmed = false;
}

void TimeSprite::update(float) {
    // Exactly 10 and exactly 5 keep the colour they had.
    if (seconds > 10) setColor(Color3B(0, 255, 0));
    if (seconds > 5 && seconds < 10) setColor(Color3B(255, 255, 0));
    if (seconds < 5) setColor(Color3B(255, 0, 0));

    if (seconds >= 0) return;
    seconds = 0;
    if (!isArmed) return;

    auto* layer = hubOf<GameLayer>(this);
    if (!layer) return;
    // A negative count (only from a damaged store) must not grant endless lives.
    if (layer->lives <= 0) {
        endRound();
        isArmed = false;
    } else {
        isArmed = false;
        layer->loseLife();
        stopCountDown();
        if (layer->answerManager) layer->answerManager->scheduleEndStage();
    }
}

void TimeSprite::endRound() {
    auto* layer = hubOf<GameLayer>(this);
    layer->clearStageForGameOver();
    layer->bankScore();
    InputMap::getInstance()->rumble(1.0f, 0.8f);
    layer->planet->slideIn();
    layer->player->scheduleKnockOut();
    layer->resultGround->startResult();
    layer->resultScoreLabel->startResult();
    layer->retryButton->startResult();
    layer->upgradeButton->startResult();
    layer->resultHighScoreLabel->startResult();
}
