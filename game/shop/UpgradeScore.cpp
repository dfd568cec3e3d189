#include "game/shop/UpgradeScore.h"

#include "game/common/Hub.h"
#include "game/common/SavedKeys.h"
#include "game/shop/UpgradeLayer.h"

USING_NS_CC;

bool UpgradeScore::init() {
    if (!Label::init()) return false;
    scheduleUpdate();
    return true;
}

void UpgradeScore::update(float) {
    auto* layer = hubOf<UpgradeLayer>(this);
    const int balance = layer->userDefault->getIntegerForKey(keys::kCoinScore);
    initWithTTF("1", kGameFont, 128, Size::ZERO, TextHAlignment::LEFT, TextVAlignment::TOP);
    text = __String::createWithFormat("%04d", balance);
    setPosition(static_cast<float>(kDesignSize.width * 0.85), static_cast<float>(kDesignSize.height * 0.9));
    setColor(Color3B::GREEN);
    setString(text->getCString());
}
