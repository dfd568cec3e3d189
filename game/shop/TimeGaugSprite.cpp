#include "game/shop/TimeGaugSprite.h"

#include "game/common/Hub.h"
#include "game/shop/UpgradeLayer.h"
#include "game/shop/UpgradeNode.h"

bool TimeGaugSprite::init() {
    static const char* const kImages[] = {"UpGradeScene/timeGauge0.png", "UpGradeScene/timeGauge1.png",
                                          "UpGradeScene/timeGauge2.png", "UpGradeScene/timeGauge3.png"};
    return initGauge(0.77, kImages);
}

ShopOffer* TimeGaugSprite::offer() const {
    return hubOf<UpgradeLayer>(this)->upgradeNode;
}
