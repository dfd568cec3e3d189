#include "game/shop/UpgradeNode.h"

#include "game/common/Controls.h"
#include "game/common/SavedKeys.h"

bool UpgradeNode::init() {
    // Each level bought shows the longer timer the next one gives.
    static const Levels kTime = {
        keys::kTimeLevel,
        keys::kTimeSoldOut,
        Controls::kBuyTime,
        {5, 25, 50},
        {"UpGradeScene/timeThree.png", "UpGradeScene/timeFive.png", "UpGradeScene/timeSeven.png"},
        "UpGradeScene/timeSoldOutSeven.png",
        -0.2,
        0.03,
        {3, 5, 7}};
    return initOffer(kTime);
}
