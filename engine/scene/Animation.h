#pragma once
// Frame animation: a list of picture files shown one after another on a sprite.
#include "engine/scene/Action.h"

#include <string>
#include <vector>

namespace cocos2d {

class Texture2D;

class Animation : public Ref {
  public:
    static Animation* create();
    void addSpriteFrameWithFileName(const std::string& file);
    void setDelayPerUnit(float delay) { _delay = delay; }
    float getDelayPerUnit() const { return _delay; }
    void setRestoreOriginalFrame(bool restore) { _restore = restore; }
    bool getRestoreOriginalFrame() const { return _restore; }
    const std::vector<std::string>& getFrames() const { return _frames; }

  private:
    Animation() = default;
    std::vector<std::string> _frames;
    float _delay = 0;
    bool _restore = false;
};

class Animate : public FiniteTimeAction {
  public:
    static Animate* create(Animation* animation);
    ~Animate() override;
    void startWithTarget(Node* target) override;
    void update(float t) override;
    void stop() override;

  private:
    Animation* _animation = nullptr;
    Texture2D* _original = nullptr;
    int _shown = -1;
};

} // namespace cocos2d
