#include "game/figures/Player.h"

#include "engine/audio/SimpleAudioEngine.h"

USING_NS_CC;
using CocosDenshion::SimpleAudioEngine;

namespace {
const char* const kKnockOutSound = "Music/Onmtp-Impact06-1.mp3";
}

bool Player::init() {
    if (!Sprite::init()) return false;
    // The wilted picture is read now, not when the plant is knocked out.
    Director::getInstance()->getTextureCache()->addImage("GameScene/PlantNotOut.png");

    auto* audio = SimpleAudioEngine::getInstance();
    audio->preloadEffect(kKnockOutSound);
    audio->setEffectsVolume(1.0f);

    initWithFile("GameScene/Plant1.png");
    setScale(0.3f);
    // Waits off the left edge until enter() walks it in.
    setPosition(static_cast<float>(kDesignSize.width * -0.2), kDesignSize.height / 2);

    // Sways back and forth: 1, 2, 3, 2.
    animation = Animation::create();
    animation->addSpriteFrameWithFileName("GameScene/Plant1.png");
    animation->addSpriteFrameWithFileName("GameScene/Plant2.png");
    animation->addSpriteFrameWithFileName("GameScene/Plant3.png");
    animation->addSpriteFrameWithFileName("GameScene/Plant2.png");
    animation->setDelayPerUnit(0.1f);
    animation->setRestoreOriginalFrame(true);
    animate = Animate::create(animation);
    repeatAction = RepeatForever::create(animate);
    runAction(repeatAction);
    return true;
}

void Player::enter() {
    runAction(MoveTo::create(1.0f, kScreenCentre));
}

void Player::jump(float) {
    jumpUp = MoveTo::create(0.5f, Vec2(kDesignSize.width / 2, static_cast<float>(kDesignSize.height * 0.8)));
    jumpDown = MoveTo::create(0.5f, kScreenCentre);
    jumpSequence = Sequence::create(jumpUp, DelayTime::create(1.3f), jumpDown);
    runAction(jumpSequence);
}

void Player::scheduleKnockOut() {
    scheduleOnce(CC_SCHEDULE_SELECTOR(Player::knockOut), 0.5f);
}

void Player::knockOut(float) {
    SimpleAudioEngine::getInstance()->playEffect(kKnockOutSound, false, 1.0f, 0.0f, 1.0f);
    // Freezes the sway (and any move) while it lies wilted.
    pause();
    initWithFile("GameScene/PlantNotOut.png");
}

void Player::recover(float) {
    initWithFile("GameScene/Plant1.png");
    resume();
}
