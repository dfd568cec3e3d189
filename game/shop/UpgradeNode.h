#pragma once
#include "game/common/GameConstants.h"

// The time offer on the left: longer stage timers for 5, 25 and 50 coins.
class UpgradeNode : public cocos2d::Node {
  public:
    CREATE_FUNC(UpgradeNode)
    bool init() override;
    // Both the icon and the price plate buy.
    void onBuy(cocos2d::Ref* sender);
    void addTimeLevel();
    // Each new icon goes over the previous one, which stays beneath.
    void placeIcon(const char* image);

    cocos2d::UserDefault* userDefault = nullptr;
    cocos2d::MenuItemImage* plateItem = nullptr;
    cocos2d::Menu* plateMenu = nullptr;
    cocos2d::MenuItemImage* iconItem = nullptr;
    cocos2d::Menu* iconMenu = nullptr;
    // Price of the next level; 0 when the shop was entered already sold out.
    int price = 0;
};
