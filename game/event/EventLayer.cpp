#include "game/event/EventLayer.h"

#include "game/common/CreateWithProgress.h"

#include "engine/audio/SimpleAudioEngine.h"
#include "game/common/Controls.h"
#include "game/event/EventNode.h"
#include "game/event/EventPlantNode.h"
#include "game/figures/BackGround.h"
#include "game/figures/PlantBom.h"
#include "game/figures/SpeedGround.h"
#include "game/figures/StarManager.h"
#include "game/flow/SceneFlow.h"

#include "game/common/SavedKeys.h"

USING_NS_CC;
using CocosDenshion::SimpleAudioEngine;

EventLayer* EventLayer::create(int coins, int timeLevel, int lifeLevel) {
    return createWithProgress<EventLayer>(coins, timeLevel, lifeLevel);
}

EventLayer::~EventLayer() = default;

bool EventLayer::initWithProgress(int coins, int timeLevel, int lifeLevel) {
    if (!Layer::init()) return false;
    auto* audio = SimpleAudioEngine::getInstance();
    audio->preloadBackgroundMusic("Music/Fekerivila 160627-010926.mp3");
    audio->setBackgroundMusicVolume(0.7f);

    canSkip = true;
    userDefault = UserDefault::getInstance();
    userDefault->setIntegerForKey(keys::kEventCoins, coins);
    userDefault->setIntegerForKey(keys::kEventTimeLevel, timeLevel);
    userDefault->setIntegerForKey(keys::kEventLifeLevel, lifeLevel);
    log("%d", userDefault->getIntegerForKey(keys::kEventCoins));

    auto* listener = EventListenerTouchOneByOne::create();
    listener->setSwallowTouches(true);
    listener->onTouchBegan = CC_CALLBACK_2(EventLayer::onTouchBegan, this);
    listener->onTouchMoved = CC_CALLBACK_2(EventLayer::onTouchMoved, this);
    listener->onTouchEnded = CC_CALLBACK_2(EventLayer::onTouchEnded, this);
    Director::getInstance()->getEventDispatcher()->addEventListenerWithSceneGraphPriority(listener, this);
    // Any point skips; this one, in the corner, is where the badge saying how goes.
    InputMap::getInstance()->attachPoint(Controls::kTapAnywhere, this, Vec2(kDesignSize.width - 90, 90));

    eventNode = EventNode::create();
    addChild(eventNode, 3);
    eventPlantNode = EventPlantNode::create();
    eventPlantNode->setPosition(kDesignSize.width, 0);
    addChild(eventPlantNode, 3);
    backGround = BackGround::create();
    addChild(backGround, 0);
    starManager = StarManager::create();
    addChild(starManager, 1);
    speedGround = SpeedGround::create();
    addChild(speedGround, 2);

    audio->playBackgroundMusic("Music/Fekerivila 160627-010926.mp3", true);
    return true;
}

bool EventLayer::onTouchBegan(Touch*, Event*) {
    return true;
}

void EventLayer::onTouchMoved(Touch*, Event*) {}

void EventLayer::onTouchEnded(Touch*, Event*) {
    if (!canSkip) return;
    startRound(0.5f);
}

void EventLayer::startEvent(float) {
    scheduleOnce(CC_SCHEDULE_SELECTOR(EventLayer::moveNodeOut), 1.5f);
    scheduleOnce(CC_SCHEDULE_SELECTOR(EventLayer::movePlanetIn), 2.5f);
}

void EventLayer::moveNodeOut(float) {
    eventNode->runAction(MoveTo::create(1.0f, Vec2(kDesignSize.width * -1.0f, kDesignSize.height * 0.0f)));
}

void EventLayer::movePlanetIn(float) {
    eventPlantNode->runAction(
        MoveTo::create(3.5f, Vec2(kDesignSize.width * -0.5f, kDesignSize.height * 0.0f)));
    scheduleOnce(CC_SCHEDULE_SELECTOR(EventLayer::movePlanetBack), 3.0f);
}

void EventLayer::movePlanetBack(float) {
    auto* planetMove = MoveTo::create(1.0f, Vec2(kDesignSize.width * 1.0f, kDesignSize.height * 0.0f));
    auto* groupMove = MoveTo::create(2.5f, Vec2(kDesignSize.width * 0.0f, kDesignSize.height * 0.0f));
    eventNode->shock->setVisible(false);
    scheduleOnce(CC_SCHEDULE_SELECTOR(EventLayer::showPlantBom), 3.0f);
    // The planet's drift in still has half a second to go; the move back overrides it.
    eventPlantNode->runAction(planetMove);
    eventNode->runAction(groupMove);
}

void EventLayer::showPlantBom(float) {
    eventNode->plantBom->setVisible(true);
    scheduleOnce(CC_SCHEDULE_SELECTOR(EventLayer::endEvent), 1.0f);
}

void EventLayer::endEvent(float) {
    // A skip may already have asked for the round while this scene fades out.
    if (!canSkip) return;
    eventNode->runAction(MoveTo::create(2.0f, Vec2(kDesignSize.width * 1.0f, kDesignSize.height * 0.0f)));
    startRound(1.5f);
}

void EventLayer::startRound(float fadeSeconds) {
    canSkip = false;
    const int lifeLevel = userDefault->getIntegerForKey(keys::kEventLifeLevel);
    const int timeLevel = userDefault->getIntegerForKey(keys::kEventTimeLevel);
    const int coins = userDefault->getIntegerForKey(keys::kEventCoins);
    SceneFlow::toRound(coins, timeLevel, lifeLevel, fadeSeconds);
}
