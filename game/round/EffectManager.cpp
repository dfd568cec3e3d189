#include "game/round/EffectManager.h"

#include "game/common/Hub.h"
#include "game/figures/PlantBom.h"
#include "game/round/GameLayer.h"

#include <limits>

USING_NS_CC;

namespace {
// Grows from 0.1 to full size while turning, then keeps turning for as long as it lives.
FiniteTimeAction* openAndSpin(float degrees) {
    auto* spin = RotateBy::create(10.0f, degrees);
    return Sequence::create(Spawn::create(ScaleTo::create(0.5f, 1.0f), spin),
                            Repeat::create(spin, std::numeric_limits<unsigned int>::max()));
}
} // namespace

bool EffectManager::init() {
    if (!Node::init()) return false;
    // The lights are read now, not when a row is solved.
    Director::getInstance()->getTextureCache()->addImage("hikari5.png");
    Director::getInstance()->getTextureCache()->addImage("hikari5-2.png");
    return true;
}

void EffectManager::startStageClear() {
    auto* layer = hubOf<GameLayer>(this);
    if (!layer || !layer->plantBom) return;
    // The lights stay where the companion is now, even if it moves on.
    const Vec2 spot = layer->plantBom->getPosition();

    auto* chain1 = openAndSpin(360);
    auto* chain2 = openAndSpin(-360);

    auto* light1 = Sprite::create("hikari5.png");
    light1->setPosition(spot);
    light1->setScale(0.1f);
    light1->runAction(chain1);
    addChild(light1);

    auto* light2 = Sprite::create("hikari5-2.png");
    light2->setPosition(spot);
    light2->setScale(0.1f);
    light2->runAction(chain2);
    addChild(light2);
}
