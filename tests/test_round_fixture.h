#pragma once
// A round played through the playtest harness on the virtual clock, with a store of its own.
#include "Playtest.h"

#include "AnswerManager.h"
#include "ButtonManager.h"
#include "GameButton.h"
#include "GameLayer.h"
#include "TargetManager.h"
#include "TargetSprite.h"
#include "TimeSprite.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include "TempDirs.h"

class RoundTest : public ::testing::Test {
  protected:
    static constexpr int kFps = 60;

    void SetUp() override {
        char dir[] = "/tmp/doviveduzuz-round-XXXXXX";
        ASSERT_NE(nullptr, TempDirs::keep(mkdtemp(dir)));
        setenv("XDG_DATA_HOME", dir, 1);
        pt = std::make_unique<Playtest>();
        pt->execute("seed 7");
    }
    void TearDown() override { pt.reset(); }

    void open(int coins, int timeLevel, int lifeLevel) {
        pt->execute("open game " + std::to_string(coins) + " " + std::to_string(timeLevel) + " " +
                    std::to_string(lifeLevel));
        settleRing();
    }
    bool ringIsDistinct() const {
        int seen = 0;
        for (auto* button : layer()->buttonManager->buttons)
            seen |= 1 << button->kind;
        return seen == 0x3f;
    }
    // Steps one frame at a time until done() holds, giving up after maxFrames; returns the
    // frames taken.
    template <typename Done> int stepUntil(Done done, int maxFrames = 30 * kFps) {
        int frames = 0;
        while (!done() && frames < maxFrames) {
            pt->step(1);
            ++frames;
        }
        EXPECT_TRUE(done()) << "gave up after " << maxFrames << " frames";
        return frames;
    }
    // Steps until the ring shows six different elements; returns the frames it took.
    int settleRing() {
        int frames = 0;
        while (!ringIsDistinct() && frames < 10 * kFps) {
            pt->step(1);
            ++frames;
        }
        EXPECT_TRUE(ringIsDistinct()) << "the ring did not settle";
        return frames;
    }
    GameLayer* layer() const { return pt->find<GameLayer>(); }
    void step(int frames = 1) { pt->step(frames); }

    // Where a node's centre is on screen.
    static cocos2d::Vec2 centreOf(cocos2d::Node* node) {
        const auto& size = node->getContentSize();
        return node->convertToWorldSpace(cocos2d::Vec2(size.width / 2, size.height / 2));
    }
    // The image button that takes a press: the newest menu's item.
    static cocos2d::Node* itemOf(cocos2d::Node* holder) {
        cocos2d::Node* menu = holder->getChildren().back();
        return menu->getChildren().front();
    }
    void tapNode(cocos2d::Node* node) {
        const auto at = centreOf(node);
        pt->tap(at.x, at.y);
    }

    GameButton* buttonShowing(int elementId) const {
        for (auto* button : layer()->buttonManager->buttons)
            if (button->kind + 1 == elementId) return button;
        return nullptr;
    }
    // Presses the ring button showing this element, as a player would.
    void press(int elementId) {
        GameButton* button = buttonShowing(elementId);
        ASSERT_NE(nullptr, button) << "no button shows element " << elementId;
        tapNode(itemOf(button));
    }
    // Some element the target in place i does not ask for.
    int wrongFor(int i) const { return layer()->targetManager->targets[i]->kind % 6 + 1; }
    int target(int i) const { return layer()->targetManager->targets[i]->kind; }
    void pressBack() {
        // The back menu is the manager's only child at z 1 besides the buttons' menus.
        for (auto* child : layer()->buttonManager->getChildren())
            if (dynamic_cast<cocos2d::Menu*>(child)) return tapNode(child->getChildren().front());
        FAIL() << "no back button";
    }
    void solveStage() {
        for (int i = 0; i < 6; ++i)
            press(target(i));
    }

    // Counts the sound calls of one kind and file since the last look.
    static int countCalls(const nlohmann::json& sounds, const std::string& call, const std::string& file) {
        int n = 0;
        for (const auto& s : sounds)
            if (s["call"] == call && s.value("file", "") == file) ++n;
        return n;
    }

    std::unique_ptr<Playtest> pt;
};
