#pragma once
#include "engine/scene/Node.h"

#include <string>

namespace cocos2d {

class Texture2D;

// A button picture: the normal image, or the selected one while pressed.
class MenuItemImage : public Node {
  public:
    static MenuItemImage* create(const std::string& normalImage, const std::string& selectedImage,
                                 const ccMenuCallback& callback);
    ~MenuItemImage() override;
    void selected();
    void unselected();
    bool isSelected() const { return _selected; }
    void setEnabled(bool enabled) { _enabled = enabled; }
    bool isEnabled() const { return _enabled; }
    void activate();
    const std::string& getNormalFile() const { return _normalFile; }
    const std::string& getSelectedFile() const { return _selectedFile; }
    bool containsWorldPoint(const Vec2& worldPoint) const;
    // A finger's target at least this large (in the item's own units), centred on the picture:
    // a small picture can still be easy to hit.
    void setHitSize(const Size& size) { _hitSize = size; }

    void draw(Renderer& renderer, const AffineTransform& transform, uint8_t opacity,
              const Color3B& color) override;

  private:
    MenuItemImage();
    ccMenuCallback _callback;
    Texture2D* _normal = nullptr;
    Texture2D* _selectedTexture = nullptr;
    std::string _normalFile, _selectedFile;
    bool _selected = false;
    bool _enabled = true;
    Size _hitSize;
};

} // namespace cocos2d
