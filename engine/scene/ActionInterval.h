#pragma once
// The timed actions: move, scale, fade, rotate, wait.
#include "engine/base/Types.h"
#include "engine/scene/Action.h"

#include <cstdint>

namespace cocos2d {

class MoveTo : public FiniteTimeAction {
  public:
    static MoveTo* create(float duration, const Vec2& position);
    void startWithTarget(Node* target) override;
    void update(float t) override;

  private:
    Vec2 _start, _end;
};

class ScaleTo : public FiniteTimeAction {
  public:
    static ScaleTo* create(float duration, float scale);
    void startWithTarget(Node* target) override;
    void update(float t) override;

  private:
    float _startX = 1, _startY = 1, _end = 1;
};

class FadeTo : public FiniteTimeAction {
  public:
    static FadeTo* create(float duration, uint8_t opacity);
    void startWithTarget(Node* target) override;
    void update(float t) override;

  private:
    uint8_t _start = 255, _end = 255;
};

class RotateBy : public FiniteTimeAction {
  public:
    // Degrees, clockwise.
    static RotateBy* create(float duration, float deltaAngle);
    void startWithTarget(Node* target) override;
    void update(float t) override;

  private:
    float _start = 0, _delta = 0;
};

class DelayTime : public FiniteTimeAction {
  public:
    static DelayTime* create(float duration);
};

} // namespace cocos2d
