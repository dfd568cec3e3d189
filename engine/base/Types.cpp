#include "engine/base/Types.h"

namespace cocos2d {

const Vec2 Vec2::ZERO{0, 0};
const Vec2 Vec2::ANCHOR_MIDDLE{0.5f, 0.5f};
const Size Size::ZERO{0, 0};
const Color3B Color3B::WHITE{255, 255, 255};
const Color3B Color3B::YELLOW{255, 255, 0};
const Color3B Color3B::GREEN{0, 255, 0};
const Color3B Color3B::BLUE{0, 0, 255};
const Color3B Color3B::RED{255, 0, 0};
const Color3B Color3B::MAGENTA{255, 0, 255};
const Color3B Color3B::BLACK{0, 0, 0};
const Color3B Color3B::ORANGE{255, 127, 0};
const Color3B Color3B::GRAY{166, 166, 166};
const AffineTransform AffineTransform::IDENTITY{};

AffineTransform AffineTransform::inverse() const {
    float det = a * d - b * c;
    if (det == 0) return IDENTITY;
    float ia = d / det, ib = -b / det, ic = -c / det, id = a / det;
    return {ia, ib, ic, id, -(ia * tx + ic * ty), -(ib * tx + id * ty)};
}

} // namespace cocos2d
