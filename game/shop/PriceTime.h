#pragma once
#include "game/shop/OfferPrice.h"

// The time offer's price on its plate, or "MAX".
class PriceTime : public OfferPrice {
  public:
    CREATE_FUNC(PriceTime)
    bool init() override { return initPrice(0.23); }

  protected:
    ShopOffer* offer() const override;
};
