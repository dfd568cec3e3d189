#pragma once
// The whole program in-process on a store of its own, for the title, shop, cut-scene and loop tests.
#include "engine/app/cocos2d.h"
#include "harness/playtest/Playtest.h"
#include "harness/playtest/Spots.h"

#include <gtest/gtest.h>

#include "tests/support/TempDirs.h"
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class LoopTest : public ::testing::Test {
  protected:
    static constexpr int kFps = 60;

    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        if (const char* old = std::getenv("XDG_DATA_HOME")) previousDataHome = old;
        char dir[] = "/tmp/doviveduzuz-loop-XXXXXX";
        dataHome = TempDirs::keep(mkdtemp(dir));
        setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
        start();
    }
    void TearDown() override {
        pt.reset();
        std::filesystem::remove_all(dataHome);
        if (previousDataHome.empty())
            unsetenv("XDG_DATA_HOME");
        else
            setenv("XDG_DATA_HOME", previousDataHome.c_str(), 1);
    }
    void start() {
        pt = std::make_unique<Playtest>();
        pt->execute("seed 7");
    }
    // Quits the program and runs it again on the same store.
    void restart() {
        pt.reset();
        start();
    }

    void seconds(double s) { pt->step(static_cast<int>(std::lround(s * kFps))); }
    void tap(const cocos2d::Vec2& at) { pt->tap(at.x, at.y); }
    // The only menu item of a button holder, or of its newest menu.
    static cocos2d::Node* itemOf(const cocos2d::Node* holder) {
        return holder->getChildren().back()->getChildren().front();
    }

    int intKey(const char* key) const { return pt->store().value(key, 0); }
    bool boolKey(const char* key) const { return pt->store().value(key, false); }
    static void saved(const char* key, int value) {
        cocos2d::UserDefault::getInstance()->setIntegerForKey(key, value);
    }

    // The files of the sound calls named `call` since the last look.
    std::vector<std::string> soundFiles(const std::string& call) {
        std::vector<std::string> files;
        for (const auto& s : pt->sounds())
            if (s.value("call", "") == call) files.push_back(s.value("file", ""));
        return files;
    }

    // The scene being faded to, or null when no fade is under way.
    cocos2d::Scene* fadingTo() const {
        auto* fade = dynamic_cast<cocos2d::TransitionFade*>(pt->runningScene());
        return fade ? fade->getInScene() : nullptr;
    }
    // Frames stepped until a fade is under way (-1 if none within the limit).
    int framesUntilFade(int limit = 15 * kFps) {
        for (int n = 1; n <= limit; ++n) {
            pt->step(1);
            if (fadingTo()) return n;
        }
        return -1;
    }
    // Frames stepped until the fade under way is over.
    int framesOfFade() {
        int n = 0;
        for (; n < 10 * kFps && fadingTo(); ++n)
            pt->step(1);
        return n;
    }
    // Waits for the next fade and its end; the scene arrived at, if it is a SceneT.
    template <typename SceneT> SceneT* arriveAt() {
        framesUntilFade();
        framesOfFade();
        return dynamic_cast<SceneT*>(pt->runningScene());
    }

    std::unique_ptr<Playtest> pt;
    std::string dataHome, previousDataHome;
};
