#include "game/round/BonusEffect.h"

#include "game/common/Hub.h"
#include "game/round/ButtonManager.h"
#include "game/round/GameButton.h"
#include "game/round/GameLayer.h"

USING_NS_CC;

bool BonusEffect::init() {
    if (!Sprite::init()) return false;
    initWithFile("hikariNew.png");
    setScale(0.2f);
    runAction(RepeatForever::create(RotateBy::create(10.0f, 360)));
    // Hidden until its first frame has found the bonus button, so it never shows at the origin.
    setVisible(false);
    scheduleUpdate();
    return true;
}

void BonusEffect::update(float) {
    auto* layer = hubOf<GameLayer>(this);
    ButtonManager* manager = layer ? layer->buttonManager : nullptr;
    const int index = manager ? manager->bonusIndex : ButtonManager::kNoBonus;
    if (index < 0 || index >= ButtonManager::kButtons) {
        setVisible(false);
        return;
    }
    setVisible(true);
    const Vec2 button = manager->buttons[index]->getPosition();
    setPosition(button.x + kDesignSize.width * 0.22f, button.y + kDesignSize.height * 0.23f);
}
