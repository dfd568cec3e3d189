#pragma once
#include "cocos2d.h"

// Temporary first scene until the title screen is built.
class TitleScene : public cocos2d::Scene {
public:
    CREATE_FUNC(TitleScene)
    bool init() override { return cocos2d::Scene::init(); }
};
