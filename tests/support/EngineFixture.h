#pragma once
// A running scene on the virtual clock for engine tests, torn down after each test.
#include "engine/app/AppFrame.h"
#include "engine/app/cocos2d.h"

#include <gtest/gtest.h>

class EngineTest : public ::testing::Test {
  protected:
    static constexpr double kFrame = 1.0 / 60.0;

    void SetUp() override {
        scene = cocos2d::Scene::create();
        cocos2d::Director::getInstance()->runWithScene(scene);
        cocos2d::Director::getInstance()->applyPendingScene();
    }
    void TearDown() override { cocos2d::Director::getInstance()->reset(); }
    // The real loop measures each frame: dt may be any length up to its 0.1 s cap.
    void frames(int n, double dt = kFrame) {
        for (int i = 0; i < n; ++i)
            cocos2d::AppFrame::step(dt);
    }

    cocos2d::Scene* scene = nullptr;
};

#include "engine/base/FileUtils.h"

#include "tests/support/TempDirs.h"
#include <SDL.h>
#include <SDL_image.h>
#include <string>

// Pictures made on the spot in a folder of their own, used as the resource root.
class MediaTest : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        previousRoot = cocos2d::FileUtils::getInstance()->getResourceRoot();
        char dir[] = "/tmp/doviveduzuz-media-XXXXXX";
        root = TempDirs::keep(mkdtemp(dir));
        cocos2d::FileUtils::getInstance()->setResourceRoot(root);
    }
    void TearDown() override {
        cocos2d::FileUtils::getInstance()->setResourceRoot(previousRoot);
        EngineTest::TearDown();
    }
    // A w x h picture filled with one colour; returns its name.
    std::string picture(const std::string& name, int w, int h, Uint32 argb = 0xff336699) {
        SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
        SDL_FillRect(s, nullptr, argb);
        IMG_SavePNG(s, (root + "/" + name).c_str());
        SDL_FreeSurface(s);
        return name;
    }
    std::string root, previousRoot;
};
