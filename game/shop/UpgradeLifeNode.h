#pragma once
#include "game/common/GameConstants.h"

// The life offer on the right: an extra life each for 100, 200 and 400 coins.
class UpgradeLifeNode : public cocos2d::Node {
  public:
    CREATE_FUNC(UpgradeLifeNode)
    bool init() override;
    // Both the icon and the price plate buy.
    void onBuy(cocos2d::Ref* sender);
    void showLifeIcon();
    void addLifeLevel();

    cocos2d::MenuItemImage* plateItem = nullptr;
    cocos2d::Menu* plateMenu = nullptr;
    cocos2d::MenuItemImage* iconItem = nullptr;
    cocos2d::Menu* iconMenu = nullptr;
    cocos2d::UserDefault* userDefault = nullptr;
    // Price of the next level; 0 when the shop was entered already sold out.
    int price = 0;

  private:
    void placeIcon(const char* image);
};
