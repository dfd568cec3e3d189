#pragma once
#include "game/shop/OfferGauge.h"

// Shows how many time levels are bought, 0 to 3.
class TimeGaugSprite : public OfferGauge {
  public:
    CREATE_FUNC(TimeGaugSprite)
    bool init() override;

  protected:
    ShopOffer* offer() const override;
};
