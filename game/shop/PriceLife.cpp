#include "PriceLife.h"

#include "SavedKeys.h"
#include "UpgradeLayer.h"
#include "UpgradeLifeNode.h"

USING_NS_CC;

bool PriceLife::init() {
    if (!Label::init()) return false;
    setPosition(static_cast<float>(kDesignSize.width * 0.55), kDesignSize.height * 0.46f);
    setColor(Color3B::BLACK);
    scheduleUpdate();
    return true;
}

void PriceLife::update(float) {
    auto* offer = static_cast<UpgradeLayer*>(getParent())->upgradeLifeNode;
    if (offer->userDefault->getBoolForKey(keys::kLifeSoldOut)) {
        initWithTTF("MAX", "fonts/PixelMplus10-Regular.ttf", 96, Size::ZERO, TextHAlignment::LEFT,
                    TextVAlignment::TOP);
    } else {
        initWithTTF("1", "fonts/PixelMplus10-Regular.ttf", 96, Size::ZERO, TextHAlignment::LEFT,
                    TextVAlignment::TOP);
        text = __String::createWithFormat("%d", offer->price);
        setString(text->getCString());
    }
}
