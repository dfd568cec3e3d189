#pragma once
#include "game/common/GameConstants.h"

class ShopOffer;

// An offer's price on its plate, or "MAX" once the offer is sold out, rebuilt every frame.
class OfferPrice : public cocos2d::Label {
  public:
    void update(float delta) override;

    cocos2d::__String* text = nullptr;

  protected:
    // The plate's words at (fx, 0.46) of the design size.
    bool initPrice(double fx);
    virtual ShopOffer* offer() const = 0;
};
