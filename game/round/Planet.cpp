#include "game/round/Planet.h"

#include "engine/audio/SimpleAudioEngine.h"
#include "game/common/Hub.h"
#include "game/round/GameLayer.h"

USING_NS_CC;
using CocosDenshion::SimpleAudioEngine;

namespace {
const char* const kHealSound = "Music/magic-cure1.mp3";
}

bool Planet::init() {
    if (!Sprite::init()) return false;
    // Read now, so the planet turns green without a pause.
    Director::getInstance()->getTextureCache()->addImage("GameScene/greenPlanet.png");
    SimpleAudioEngine::getInstance()->preloadEffect(kHealSound);
    canHeal = true;
    isFlying = false;
    speed = 25;
    initWithFile("GameScene/deadPlanet.png");
    setScale(0.7f);
    // Parked off the right edge until the next fly-past.
    setPosition(static_cast<float>(kDesignSize.width * 1.5), kDesignSize.height / 2);
    scheduleUpdate();
    return true;
}

void Planet::startFlyPast() {
    isFlying = true;
}

void Planet::slideIn() {
    // Stops right on the turn-green line, which it must pass to heal: it stays dead.
    slideAction =
        MoveTo::create(0.5f, Vec2(static_cast<float>(kDesignSize.width * 0.6), kDesignSize.height / 2));
    runAction(slideAction);
}

void Planet::speedUp(float) {
    speed = 30;
}

void Planet::park() {
    isFlying = false;
    setPosition(static_cast<float>(kDesignSize.width * 1.5), kDesignSize.height / 2);
    initWithFile("GameScene/deadPlanet.png");
    canHeal = true;
    speed = 25;
}

void Planet::update(float) {
    auto* layer = hubOf<GameLayer>(this);
    // A fixed step per frame, not scaled by the frame time.
    if (isFlying) setPositionX(getPositionX() - speed);

    if (getPositionX() < static_cast<float>(kDesignSize.width * 0.6) && canHeal) {
        // Turns green in front of the plant, lingers a second, then speeds off.
        initWithFile("GameScene/greenPlanet.png");
        SimpleAudioEngine::getInstance()->playEffect(kHealSound, false, 1.0f, 0.0f, 1.0f);
        if (layer) layer->removeEffectManager();
        speed = 6;
        scheduleOnce(CC_SCHEDULE_SELECTOR(Planet::speedUp), 1.0f);
        canHeal = false;
    }

    if (getPositionX() < static_cast<float>(kDesignSize.width * -1.0)) {
        park();
        if (layer) layer->setUpStage();
    }
}
