#pragma once
#include "game/shop/ShopOffer.h"

// The time offer on the left: longer stage timers for 5, 25 and 50 coins.
class UpgradeNode : public ShopOffer {
  public:
    CREATE_FUNC(UpgradeNode)
    bool init() override;
    void addTimeLevel() { addLevel(); }
};
