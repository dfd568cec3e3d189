#include "game/shop/PriceLife.h"

#include "game/common/Hub.h"
#include "game/shop/UpgradeLayer.h"
#include "game/shop/UpgradeLifeNode.h"

ShopOffer* PriceLife::offer() const {
    return hubOf<UpgradeLayer>(this)->upgradeLifeNode;
}
