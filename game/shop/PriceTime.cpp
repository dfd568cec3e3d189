#include "PriceTime.h"

#include "SavedKeys.h"
#include "UpgradeLayer.h"
#include "UpgradeNode.h"

USING_NS_CC;

bool PriceTime::init() {
    if (!Label::init()) return false;
    setPosition(static_cast<float>(kDesignSize.width * 0.23), kDesignSize.height * 0.46f);
    setColor(Color3B::BLACK);
    scheduleUpdate();
    return true;
}

void PriceTime::update(float) {
    auto* offer = static_cast<UpgradeLayer*>(getParent())->upgradeNode;
    if (offer->userDefault->getBoolForKey(keys::kTimeSoldOut)) {
        initWithTTF("MAX", "fonts/PixelMplus10-Regular.ttf", 96, Size::ZERO, TextHAlignment::LEFT,
                    TextVAlignment::TOP);
    } else {
        initWithTTF("1", "fonts/PixelMplus10-Regular.ttf", 96, Size::ZERO, TextHAlignment::LEFT,
                    TextVAlignment::TOP);
        text = __String::createWithFormat("%d", offer->price);
        setString(text->getCString());
    }
}
