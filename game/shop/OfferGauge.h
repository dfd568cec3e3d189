#pragma once
#include "game/common/GameConstants.h"

class ShopOffer;

// A gauge beside an offer: its picture shows how many levels are bought, 0 to 3.
class OfferGauge : public cocos2d::Sprite {
  public:
    void update(float delta) override;

  protected:
    // The gauge at (0.83, fy) of the design size, with a picture for each level.
    bool initGauge(double fy, const char* const (&images)[4]);
    virtual ShopOffer* offer() const = 0;

  private:
    const char* const* _images = nullptr;
};
