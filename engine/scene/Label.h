#pragma once
#include "engine/graphics/TextCache.h"
#include "engine/scene/Node.h"

#include <string>

namespace cocos2d {

class Texture2D;

// One line of TrueType text. Rendered pictures are cached by font, size and text, so
// re-initialising with the same values every frame renders nothing new.
class Label : public Node {
  public:
    explicit Label(TextHAlignment hAlignment = TextHAlignment::LEFT,
                   TextVAlignment vAlignment = TextVAlignment::TOP);
    ~Label() override;
    CREATE_FUNC(Label)
    static Label* createWithTTF(const std::string& text, const std::string& fontFile, float fontSize,
                                const Size& dimensions = Size::ZERO,
                                TextHAlignment hAlignment = TextHAlignment::LEFT,
                                TextVAlignment vAlignment = TextVAlignment::TOP);
    bool init() override;
    virtual bool initWithTTF(const std::string& text, const std::string& fontFile, float fontSize,
                             const Size& dimensions = Size::ZERO,
                             TextHAlignment hAlignment = TextHAlignment::LEFT,
                             TextVAlignment vAlignment = TextVAlignment::TOP);
    virtual void setString(const std::string& text);
    const std::string& getString() const { return _text; }
    // Lettered in the look's own colours, outline and shadow, instead of tinted white.
    void setLook(const TextLook& look);
    Texture2D* getTexture() const { return _texture; }

    void draw(Renderer& renderer, const AffineTransform& transform, uint8_t opacity,
              const Color3B& color) override;

  private:
    void refresh();
    std::string _text;
    std::string _fontFile;
    int _fontSize = 0;
    TextLook _look;
    bool _looked = false;
    TextHAlignment _hAlignment;
    TextVAlignment _vAlignment;
    Texture2D* _texture = nullptr;
};

} // namespace cocos2d
