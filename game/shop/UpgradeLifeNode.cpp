#include "game/shop/UpgradeLifeNode.h"

#include "game/common/Controls.h"
#include "game/common/SavedKeys.h"

bool UpgradeLifeNode::init() {
    // One heart until the last life is bought.
    static const Levels kLife = {keys::kLifeLevel,
                                 keys::kLifeSoldOut,
                                 Controls::kBuyLife,
                                 {100, 200, 400},
                                 {"UpGradeScene/life.png", "UpGradeScene/life.png", "UpGradeScene/life.png"},
                                 "UpGradeScene/lifeSoldOut.png",
                                 0.6,
                                 0.57};
    return initOffer(kLife);
}
