#pragma once
#include "engine/app/cocos2d.h"

// Configures the window and the director, runs the first scene, and pauses the game while
// the window is minimised.
class AppDelegate : private cocos2d::Application {
  public:
    AppDelegate();
    ~AppDelegate() override;
    bool applicationDidFinishLaunching() override;
    void applicationDidEnterBackground() override;
    void applicationWillEnterForeground() override;
    void initGLContextAttrs() override;
    void applicationWillOpen() override;
};
