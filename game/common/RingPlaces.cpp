#include "game/common/RingPlaces.h"

namespace RingPlaces {

cocos2d::Vec2 position(int i) {
    static const double kFactors[kButtons][2] = {{0.17, 0.49}, {0.40, 0.49}, {0.50, 0.27},
                                                 {0.40, 0.06}, {0.17, 0.06}, {0.08, 0.27}};
    return cocos2d::Vec2(static_cast<float>(kDesignSize.width * kFactors[i][0]),
                         static_cast<float>(kDesignSize.height * kFactors[i][1]));
}

} // namespace RingPlaces
