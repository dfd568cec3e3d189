#pragma once
#include "engine/scene/Scene.h"

namespace cocos2d {

// Fades the old scene out to a colour over half the duration, then the new scene in from it.
// Both scenes run during the fade; the new one from its start.
class TransitionFade : public Scene {
  public:
    static TransitionFade* create(float duration, Scene* scene, const Color3B& color);
    ~TransitionFade() override;
    void onEnter() override;
    void onExit() override;
    void cleanup() override;
    void visit(Renderer& renderer, const AffineTransform& parentTransform, uint8_t parentOpacity,
               const Color3B& parentColor) override;

    Scene* getInScene() const { return _inScene; }
    Scene* getOutScene() const { return _outScene; }
    // Engine side: the director hands over the old scene and advances the clock.
    void setOutScene(Scene* scene);
    void advance(double dt);
    bool isFinished() const { return _elapsed >= _duration - 1e-6; }
    // Gives up the new scene (retained for the caller) and ends the old one.
    Scene* finish();

  private:
    TransitionFade() = default;
    Scene* _inScene = nullptr;
    Scene* _outScene = nullptr;
    Color3B _fadeColor;
    double _duration = 0;
    double _elapsed = 0;
};

} // namespace cocos2d
