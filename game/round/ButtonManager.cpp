#include "game/round/ButtonManager.h"

#include "engine/audio/SimpleAudioEngine.h"
#include "game/common/Controls.h"
#include "game/common/Hub.h"
#include "game/round/AnswerManager.h"
#include "game/round/GameButton.h"
#include "game/round/GameLayer.h"

USING_NS_CC;
using CocosDenshion::SimpleAudioEngine;

namespace {
const char* const kBackSound = "Music/cancel5.mp3";
}

ButtonManager::~ButtonManager() = default;

Vec2 ButtonManager::buttonPosition(int i) {
    return RingPlaces::position(i);
}

bool ButtonManager::init() {
    if (!Node::init()) return false;
    SimpleAudioEngine::getInstance()->preloadEffect(kBackSound);
    createButtons();
    pressCount = 0;
    lastKind = 0;

    auto* item = MenuItemImage::create("GameScene/EarthBackButton1.png", "GameScene/EarthBackButton2.png",
                                       CC_CALLBACK_1(ButtonManager::onBack, this));
    InputMap::getInstance()->attach(Controls::kBack, item);
    auto* menu = Menu::create(item);
    menu->setScale(0.3f);
    menu->setPosition(static_cast<float>(kDesignSize.width * -0.15),
                      static_cast<float>(kDesignSize.height * -0.25));
    addChild(menu, 1);

    scheduleUpdate();
    return true;
}

void ButtonManager::createButtons() {
    // 6 chances in 21 that one of the six buttons carries the bonus.
    bonusIndex = Random::uniformInt(0, 20);
    for (int i = 0; i < kButtons; ++i) {
        buttons[i] = GameButton::create();
        buttonKinds[i] = buttons[i]->kind;
        buttons[i]->setScale(0.45f);
        buttons[i]->setPosition(buttonPosition(i));
    }
    if (bonusIndex >= 0 && bonusIndex < kButtons) buttons[bonusIndex]->bonusIndex = bonusIndex;
    for (int i = 0; i < kButtons; ++i)
        buttons[i]->setControl(Controls::ring(i));
    for (auto* button : buttons)
        addChild(button);
}

void ButtonManager::countPress() {
    if (pressCount < kMaxPresses) ++pressCount;
}

void ButtonManager::setLastKind(int id) {
    lastKind = id;
}

void ButtonManager::clearBonus() {
    bonusIndex = kNoBonus;
}

void ButtonManager::onBack(Ref*) {
    SimpleAudioEngine::getInstance()->playEffect(kBackSound, false, 1.0f, 0.0f, 1.0f);
    if (pressCount == 0) return;
    auto* layer = hubOf<GameLayer>(this);
    if (layer && layer->answerManager) layer->answerManager->hideLastAnswer();
    --pressCount;
}

void ButtonManager::update(float) {
    // A button that repeats an element to its left draws again; button 0 never changes.
    for (int i = 1; i < kButtons; ++i) {
        for (int j = i - 1; j >= 0; --j) {
            if (buttonKinds[i] == buttonKinds[j]) {
                buttons[i]->rollKind();
                buttonKinds[i] = buttons[i]->kind;
                break;
            }
        }
    }
}
