#pragma once
#include "engine/scene/Node.h"

#include <string>

namespace cocos2d {

class Texture2D;

// A node that draws one picture over its content size.
class Sprite : public Node {
  public:
    CREATE_FUNC(Sprite)
    static Sprite* create(const std::string& file);
    ~Sprite() override;
    bool init() override;
    // Also on a live sprite: swaps picture and content size, keeps everything else.
    // A missing picture leaves the sprite empty.
    virtual bool initWithFile(const std::string& file);
    void setTexture(Texture2D* texture);
    Texture2D* getTexture() const { return _texture; }
    // The file the picture came from ("" when empty).
    const std::string& getFileName() const;

    void draw(Renderer& renderer, const AffineTransform& transform, uint8_t opacity,
              const Color3B& color) override;

  protected:
    Sprite();
    Texture2D* _texture = nullptr;
};

} // namespace cocos2d
