#pragma once
#include "game/shop/OfferPrice.h"

// The life offer's price on its plate, or "MAX".
class PriceLife : public OfferPrice {
  public:
    CREATE_FUNC(PriceLife)
    bool init() override { return initPrice(0.55); }

  protected:
    ShopOffer* offer() const override;
};
