#pragma once
#include "game/common/GameConstants.h"

#include <string>

// What the shop's two offers share: an icon and a price plate that both buy the offer's next
// level for its price, the level and the sold-out flag saved under the offer's own keys, and the
// icon changing as the levels sell. Each offer names its prices, pictures and places.
class ShopOffer : public cocos2d::Node {
  public:
    // Both the icon and the price plate buy.
    void onBuy(cocos2d::Ref* sender);
    // Each new icon goes over the previous one, which stays beneath.
    void placeIcon(const char* image);
    // The level bought so far, and whether the last one is.
    int level() const;
    bool soldOut() const;

    cocos2d::UserDefault* userDefault = nullptr;
    cocos2d::MenuItemImage* plateItem = nullptr;
    cocos2d::Menu* plateMenu = nullptr;
    cocos2d::MenuItemImage* iconItem = nullptr;
    cocos2d::Menu* iconMenu = nullptr;
    // Price of the next level; 0 when the shop was entered already sold out.
    int price = 0;

  protected:
    static constexpr int kLevels = 3;
    struct Levels {
        const char* levelKey;
        const char* soldOutKey;
        const char* control;
        int prices[kLevels];
        // The icon while each level is the next to buy, and once all are bought.
        const char* icons[kLevels];
        const char* soldOutIcon;
        // Where the plate and the icon stand, as fractions of the design width.
        double plateX;
        double iconX;
        // The seconds each level gives, written under its icon; none for an offer of lives.
        int seconds[kLevels] = {};
    };
    bool initOffer(const Levels& levels);
    void addLevel();

  private:
    // A new icon only when its picture changes.
    void showIcon(const char* image);

    const Levels* _levels = nullptr;
    std::string _iconImage;
};
