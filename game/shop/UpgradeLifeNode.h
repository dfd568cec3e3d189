#pragma once
#include "game/shop/ShopOffer.h"

// The life offer on the right: an extra life each for 100, 200 and 400 coins.
class UpgradeLifeNode : public ShopOffer {
  public:
    CREATE_FUNC(UpgradeLifeNode)
    bool init() override;
    void showLifeIcon() { placeIcon("UpGradeScene/life.png"); }
    void addLifeLevel() { addLevel(); }
};
