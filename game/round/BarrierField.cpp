#include "game/round/BarrierField.h"

#include "game/common/Hub.h"
#include "game/figures/Player.h"
#include "game/round/GameLayer.h"

USING_NS_CC;

bool BarrierField::init() {
    if (!Sprite::init()) return false;
    initWithFile("GameScene/Barrier.png");
    high = 255;
    low = 100;
    scheduleUpdate();
    return true;
}

void BarrierField::update(float) {
    auto* layer = hubOf<GameLayer>(this);
    if (!layer || !layer->player) return;
    setPosition(layer->player->getPosition());

    const auto h = static_cast<uint8_t>(high);
    const auto l = static_cast<uint8_t>(low);
    switch (layer->lives) {
    case 3:
        setColor(Color3B(l, h, l));
        break;
    case 2:
        setColor(Color3B(h, h, l));
        break;
    case 1:
        setColor(Color3B(h, l, l));
        break;
    case 0:
        setVisible(false);
        break;
    default:
        break;
    }
}
