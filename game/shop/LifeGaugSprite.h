#pragma once
#include "game/shop/OfferGauge.h"

// Shows how many extra lives are bought, 0 to 3.
class LifeGaugSprite : public OfferGauge {
  public:
    CREATE_FUNC(LifeGaugSprite)
    bool init() override;

  protected:
    ShopOffer* offer() const override;
};
