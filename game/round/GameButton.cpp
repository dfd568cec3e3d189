#include "game/round/GameButton.h"

#include "game/common/Hub.h"
#include "game/round/AnswerManager.h"
#include "game/round/ButtonManager.h"
#include "game/round/GameLayer.h"
#include "game/round/TargetSprite.h"

#include <functional>

USING_NS_CC;

GameButton::~GameButton() = default;

bool GameButton::init() {
    if (!Sprite::init()) return false;
    kind = 0;
    bonusIndex = -1;
    bonusAvailable = true;
    rollKind();
    return true;
}

void GameButton::rollKind() {
    kind = Random::uniformInt(0, 5);
    const int element = kind + 1;

    // Each element's image button calls that element's own handler.
    using Handler = void (GameButton::*)(Ref*);
    static const Handler kHandlers[] = {&GameButton::onPressedWater, &GameButton::onPressedLight,
                                        &GameButton::onPressedSoil,  &GameButton::onPressedSeedling,
                                        &GameButton::onPressedAir,   &GameButton::onPressedCarbonDioxide};
    const ccMenuCallback handler = std::bind(kHandlers[kind], this, std::placeholders::_1);
    auto* item = MenuItemImage::create(TargetSprite::plainImage(element), TargetSprite::pressedImage(element),
                                       handler);
    auto* menu = Menu::create(item);
    menu->setPosition(kScreenCentre);
    // An earlier menu of this button stays underneath; the newest one on top takes the press.
    addChild(menu, 1);
    newestItem = item;
    if (control) InputMap::getInstance()->attach(control, item);
}

void GameButton::setControl(const char* name) {
    control = name;
    InputMap::getInstance()->attach(control, newestItem);
}

void GameButton::onPressedWater(Ref*) {
    log("%d", bonusIndex);
    onPressed(1);
}

void GameButton::onPressedLight(Ref*) {
    log("%d", bonusIndex);
    onPressed(2);
}

void GameButton::onPressedSoil(Ref*) {
    onPressed(3);
}
void GameButton::onPressedSeedling(Ref*) {
    onPressed(4);
}
void GameButton::onPressedAir(Ref*) {
    onPressed(5);
}
void GameButton::onPressedCarbonDioxide(Ref*) {
    onPressed(6);
}

void GameButton::onPressed(int elementId) {
    // Held while the button turned to another element: the player aimed at what it showed
    // then, and it shows something else now. That press enters nothing.
    if (elementId != kind + 1) return;
    auto* manager = hubOf<ButtonManager>(this);
    if (!manager) return;
    auto* layer = hubOf<GameLayer>(manager);
    if (!layer) return;

    manager->countPress();
    manager->setLastKind(elementId);
    if (layer->answerManager) layer->answerManager->checkPress();

    // The bonus counts once, whether or not the element was the right one.
    if (bonusIndex != -1 && bonusAvailable) {
        layer->addBonusScore();
        manager->clearBonus();
        bonusAvailable = false;
    }
}
