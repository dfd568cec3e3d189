#pragma once
#include "engine/scene/Node.h"

namespace cocos2d {

// The root of a screen: spans the design area.
class Scene : public Node {
  public:
    CREATE_FUNC(Scene)
    bool init() override;

  protected:
    Scene();
};

} // namespace cocos2d
