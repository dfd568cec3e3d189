#include "game/shop/PriceTime.h"

#include "game/common/Hub.h"
#include "game/shop/UpgradeLayer.h"
#include "game/shop/UpgradeNode.h"

ShopOffer* PriceTime::offer() const {
    return hubOf<UpgradeLayer>(this)->upgradeNode;
}
