#pragma once
// A plain filled rectangle of the node's content size, centred on the node's place: a bar under a
// row of words, where no picture is wanted.
#include "engine/scene/Node.h"

namespace cocos2d {

class ColorRect : public Node {
  public:
    static ColorRect* create(const Size& size, const Color3B& color, uint8_t opacity);
    void draw(Renderer& renderer, const AffineTransform& transform, uint8_t opacity,
              const Color3B& color) override;

  private:
    Color3B _fill;
    uint8_t _fillOpacity = 255;
};

} // namespace cocos2d
