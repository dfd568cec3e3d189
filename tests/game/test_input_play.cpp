// Playing with other hands than one mouse: the whole loop by a gamepad alone and by fingers
// alone, two inputs on one button at once, presses held across a scene change, and the
// stick's and D-pad's own rules.
#include "game/event/EventScene.h"
#include "game/round/ButtonManager.h"
#include "game/round/GameButton.h"
#include "game/round/GameLayer.h"
#include "game/round/GameScene.h"
#include "game/round/TargetManager.h"
#include "game/round/TargetSprite.h"
#include "game/round/result/RetryButton.h"
#include "game/round/result/UpgradeButton.h"
#include "game/shop/UpgradeLayer.h"
#include "game/shop/UpgradeScene.h"
#include "game/title/TitleScene.h"
#include "harness/playtest/Ring.h"
#include "tests/support/test_loop_fixture.h"

#include <cmath>
#include <functional>
#include <map>

using cocos2d::Vec2;

namespace {

// Flick directions and D-pad buttons for ring buttons 0 (top left) to 5 (left), y up.
const float kToward[6][2] = {{-0.6f, 0.7f}, {0.5f, 0.8f},   {0.95f, 0.1f},
                             {0.6f, -0.7f}, {-0.5f, -0.8f}, {-1, 0}};
const char* const kDpad[6][2] = {{"dpup", "dpleft"},    {"dpright", "dpup"},  {"dpright", nullptr},
                                 {"dpdown", "dpright"}, {"dpleft", "dpdown"}, {"dpleft", nullptr}};

class InputPlayTest : public LoopTest {
  protected:
    GameLayer* round() const { return pt->find<GameLayer>(); }
    ButtonManager* ring() const { return round() ? round()->buttonManager : nullptr; }
    static Vec2 centreOf(const cocos2d::Node* node) {
        const auto size = node->getContentSize();
        return node->convertToWorldSpace(Vec2(size.width / 2, size.height / 2));
    }
    void run(const std::string& command) { ASSERT_EQ(pt->execute(command), "ok") << command; }
    std::string at(const Vec2& p) { return " " + std::to_string(p.x) + " " + std::to_string(p.y); }

    // The ring button showing this element, or -1.
    int buttonShowing(int elementId) const { return Ring::placeShowing(ring(), elementId); }
    void settleRing() {
        for (int n = 0; n < 10 * kFps; ++n) {
            if (Ring::settled(ring())) return;
            pt->step(1);
        }
        FAIL() << "the ring did not settle";
    }
    // Waits for the next fade and its end; true when one came and arrived at a SceneT.
    template <typename SceneT> bool arrive() {
        if (framesUntilFade() < 0) return false;
        framesOfFade();
        return dynamic_cast<SceneT*>(pt->runningScene()) != nullptr;
    }

    // Plays the loop with one kind of hands: `pressControl` presses a control by name
    // (ring buttons as "ring0".."ring5").
    void playTheLoop(const std::function<void(const std::string&)>& pressControl) {
        saved("coinScore", 300);
        pt->step(30);
        pressControl("tapAnywhere");
        ASSERT_TRUE(arrive<UpgradeScene>());
        pt->step(2);
        pressControl("buyTime");
        pt->step(2);
        pressControl("buyLife");
        pt->step(2);
        EXPECT_EQ(intKey("coinScore"), 300 - 5 - 100);
        EXPECT_EQ(intKey("timeNo"), 1);
        EXPECT_EQ(intKey("lifeNo"), 1);
        pressControl("start");
        ASSERT_TRUE(arrive<EventScene>());
        seconds(1);
        pressControl("tapAnywhere"); // skip
        ASSERT_TRUE(arrive<GameScene>());
        EXPECT_EQ(round()->lives, 1);
        seconds(1);
        ASSERT_NO_FATAL_FAILURE(settleRing());

        // One stage solved, reading the targets off the screen.
        const int stage = round()->stageCount;
        for (auto* target : round()->targetManager->targets) {
            const int i = buttonShowing(target->kind);
            ASSERT_GE(i, 0);
            pressControl("ring" + std::to_string(i));
            pt->step(1);
        }
        for (int n = 0; n < 20 * kFps && round()->stageCount == stage; ++n)
            pt->step(1);
        ASSERT_EQ(round()->stageCount, stage + 1);
        EXPECT_EQ(round()->score, 1);
        seconds(1);
        ASSERT_NO_FATAL_FAILURE(settleRing());

        // A wrong element, taken back.
        const int wrong = round()->targetManager->targets[0]->kind % 6 + 1;
        pressControl("ring" + std::to_string(buttonShowing(wrong)));
        pt->step(1);
        EXPECT_EQ(ring()->pressCount, 1);
        pressControl("back");
        pt->step(1);
        EXPECT_EQ(ring()->pressCount, 0);

        // The clock runs out twice: a life, then the round.
        for (int n = 0; n < 60 * kFps && round()->retryButton->getChildrenCount() == 0; ++n)
            pt->step(1);
        ASSERT_GT(round()->retryButton->getChildrenCount(), 0u);
        pt->step(1);
        // One stage solved and one ended by the clock with a life left: two points.
        EXPECT_EQ(intKey("scoreMoney"), 195 + 2);
        pressControl("retry");
        ASSERT_TRUE(arrive<GameScene>());
        EXPECT_EQ(round()->lives, 1);
        for (int n = 0; n < 60 * kFps && round()->upgradeButton->getChildrenCount() == 0; ++n)
            pt->step(1);
        ASSERT_GT(round()->upgradeButton->getChildrenCount(), 0u);
        pt->step(1);
        pressControl("goShop");
        ASSERT_TRUE(arrive<UpgradeScene>());
        pt->step(2);
        EXPECT_EQ(intKey("coinScore"), 198);
        pressControl("goTitle");
        ASSERT_TRUE(arrive<TitleScene>());
    }
};

TEST_F(InputPlayTest, TheWholeLoopByAGamepadAlone) {
    run("pad attach 0");
    int turn = 0;
    playTheLoop([&](const std::string& control) {
        auto button = [&](const char* name) {
            run(std::string("pad button 0 ") + name + " down");
            run(std::string("pad button 0 ") + name + " up");
        };
        if (control.rfind("ring", 0) == 0) {
            // Sticks and the D-pad in turn.
            const int i = control[4] - '0';
            if (turn++ % 2 == 0) {
                run("pad axis 0 leftx " + std::to_string(kToward[i][0]));
                run("pad axis 0 lefty " + std::to_string(-kToward[i][1]));
                run("pad axis 0 leftx 0");
                run("pad axis 0 lefty 0");
            } else {
                for (const char* b : kDpad[i])
                    if (b) run(std::string("pad button 0 ") + b + " down");
                pt->step(3);
                for (const char* b : kDpad[i])
                    if (b) run(std::string("pad button 0 ") + b + " up");
            }
        } else if (control == "tapAnywhere" || control == "start") {
            button(turn++ % 2 ? "a" : "start");
        } else if (control == "retry") {
            button("a");
        } else if (control == "back" || control == "goTitle") {
            button("b");
        } else if (control == "goShop") {
            button("y");
        } else if (control == "buyTime") {
            button("leftshoulder");
        } else if (control == "buyLife") {
            button("rightshoulder");
        } else {
            FAIL() << "no pad binding for " << control;
        }
    });
}

// The loop again as a player who reads the screen: menus through the highlight (moved with
// arrows or the D-pad, pressed with Enter or A), everything else by the key or pad button its
// badge shows. The mouse is never moved.
class PromptedPlayTest : public InputPlayTest {
  protected:
    using Map = cocos2d::InputMap;
    static bool isMenu(const std::string& control) {
        return control != "tapAnywhere" && control != "back" && control.rfind("ring", 0) != 0;
    }
    nlohmann::json badgeOf(const std::string& control) {
        for (const auto& b : nlohmann::json::parse(pt->execute("badges")))
            if (b["control"] == control) return b;
        return nullptr;
    }
    // Steps the highlight toward a control's button until it is on it.
    void highlight(const std::string& control, const char* const steps[4]) {
        Vec2 target;
        ASSERT_TRUE(Map::getInstance()->pressPoint(control, target)) << control;
        for (int n = 0; n < 8; ++n) {
            Vec2 on;
            ASSERT_TRUE(Map::getInstance()->pressPoint(Map::kConfirm, on));
            const Vec2 d = target - on;
            if (std::abs(d.x) < 1 && std::abs(d.y) < 1) return;
            std::string step =
                std::abs(d.x) > std::abs(d.y) ? steps[d.x < 0 ? 2 : 3] : steps[d.y > 0 ? 0 : 1];
            for (std::size_t cut; (cut = step.find(';')) != std::string::npos; step.erase(0, cut + 1))
                run(step.substr(0, cut));
            run(step);
        }
        FAIL() << "the highlight never reached " << control;
    }
};

TEST_F(PromptedPlayTest, TheWholeLoopByKeysReadOffTheScreen) {
    const char* const arrows[4] = {"key Up", "key Down", "key Left", "key Right"};
    run("key Up"); // hands on the keys: the badges show
    playTheLoop([&](const std::string& control) {
        if (isMenu(control)) {
            highlight(control, arrows);
            run("key Return");
            return;
        }
        const auto badge = badgeOf(control);
        ASSERT_FALSE(badge.is_null()) << control;
        const std::map<std::string, std::string> names = {
            {"Enter", "Return"}, {"BkSp", "Backspace"}, {"Esc", "Escape"}};
        const std::string label = badge["text"];
        run("key " + (names.count(label) ? names.at(label) : label));
    });
}

TEST_F(PromptedPlayTest, TheWholeLoopByAPadReadOffTheScreen) {
    run("pad attach 0 playstation");
    const char* const dpad[4] = {"pad button 0 dpup down;pad button 0 dpup up",
                                 "pad button 0 dpdown down;pad button 0 dpdown up",
                                 "pad button 0 dpleft down;pad button 0 dpleft up",
                                 "pad button 0 dpright down;pad button 0 dpright up"};
    playTheLoop([&](const std::string& control) {
        if (isMenu(control)) {
            highlight(control, dpad);
            run("pad button 0 a down");
            run("pad button 0 a up");
            return;
        }
        const auto badge = badgeOf(control);
        ASSERT_FALSE(badge.is_null()) << control;
        // "GameScene/badge_playstation_a.png", or "GameScene/badge_dpad_-1_1.png".
        std::string name = badge["picture"];
        name = name.substr(name.find("badge_") + 6);
        name.resize(name.size() - 4);
        if (name.rfind("dpad_", 0) != 0) {
            ASSERT_EQ(name.rfind("playstation_", 0), 0u) << name;
            const std::string button = name.substr(12);
            run("pad button 0 " + button + " down");
            run("pad button 0 " + button + " up");
            return;
        }
        const int dx = std::stoi(name.substr(5)), dy = std::stoi(name.substr(name.rfind('_') + 1));
        std::vector<std::string> held;
        if (dx) held.push_back(dx < 0 ? "dpleft" : "dpright");
        if (dy) held.push_back(dy < 0 ? "dpdown" : "dpup");
        for (const auto& b : held)
            run("pad button 0 " + b + " down");
        pt->step(3);
        for (const auto& b : held)
            run("pad button 0 " + b + " up");
    });
}

TEST_F(InputPlayTest, TheWholeLoopByFingersAlone) {
    long long finger = 0;
    playTheLoop([&](const std::string& control) {
        Vec2 where;
        ASSERT_TRUE(cocos2d::InputMap::getInstance()->pressPoint(control, where)) << control;
        // A different finger every time, as hands on a touch screen would.
        const std::string id = std::to_string(++finger % 4);
        run("finger " + id + " down" + at(where));
        run("finger " + id + " up" + at(where));
    });
}

// Two inputs on one ring button at once enter the element it shows, once. The button has
// been redrawn, so an older picture of it lies underneath showing another element.
class TwoInputsOnOneButton : public InputPlayTest {
  protected:
    void SetUp() override {
        InputPlayTest::SetUp();
        pt->execute("pad attach 0");
        pt->execute("open game 0 3 0");
        pt->step(10);
        ASSERT_NO_FATAL_FAILURE(settleRing());
        GameButton* button = ring()->buttons[0];
        const int first = button->kind;
        while (button->kind == first)
            button->rollKind();
        shown = button->kind + 1;
        centre = centreOf(button->newestItem);
    }
    void expectEnteredOnce() {
        pt->step(1);
        EXPECT_EQ(ring()->pressCount, 1);
        EXPECT_EQ(ring()->lastKind, shown);
    }
    int shown = 0;
    Vec2 centre;
};

TEST_F(TwoInputsOnOneButton, KeyWhileTheMouseHoldsIt) {
    pt->down(centre.x, centre.y);
    run("key W");
    pt->up(centre.x, centre.y);
    expectEnteredOnce();
}

TEST_F(TwoInputsOnOneButton, TwoKeysForTheSameButton) {
    run("key W down");
    run("key Keypad 7");
    run("key W up");
    expectEnteredOnce();
}

TEST_F(TwoInputsOnOneButton, TwoFingers) {
    run("finger 1 down" + at(centre));
    run("finger 2 down" + at(centre));
    run("finger 2 up" + at(centre));
    run("finger 1 up" + at(centre));
    expectEnteredOnce();
}

TEST_F(TwoInputsOnOneButton, PadWhileTheMouseHoldsIt) {
    pt->down(centre.x, centre.y);
    run("pad axis 0 leftx -0.6");
    run("pad axis 0 lefty -0.7");
    run("pad axis 0 leftx 0");
    run("pad axis 0 lefty 0");
    pt->step(1);
    pt->up(centre.x, centre.y);
    expectEnteredOnce();
}

TEST_F(TwoInputsOnOneButton, AKeyAndTheDpadInTheSameFrames) {
    run("key W");
    run("pad button 0 dpup down");
    run("pad button 0 dpleft down");
    pt->step(5);
    run("pad button 0 dpup up");
    run("pad button 0 dpleft up");
    expectEnteredOnce();
}

TEST_F(InputPlayTest, TwoThumbsOnTwoButtonsBothCount) {
    run("open game 0 3 0");
    pt->step(10);
    ASSERT_NO_FATAL_FAILURE(settleRing());
    const Vec2 a = centreOf(ring()->buttons[0]->newestItem), b = centreOf(ring()->buttons[2]->newestItem);
    run("finger 1 down" + at(a));
    run("finger 2 down" + at(b));
    run("finger 2 up" + at(b));
    run("finger 1 up" + at(a));
    pt->step(1);
    EXPECT_EQ(ring()->pressCount, 2);
    EXPECT_EQ(ring()->lastKind, ring()->buttons[0]->kind + 1);
}

// Held in the shop on its start button, let go after the scene has changed to the title.
TEST_F(InputPlayTest, APressHeldAcrossASceneChangeDoesNothingInTheNext) {
    run("pad attach 0");
    const std::vector<std::pair<std::string, std::string>> holds = {
        {"key Return down", "key Return up"},
        {"pad button 0 a down", "pad button 0 a up"},
        {"finger 4 down 1584 135", "finger 4 up 1584 135"},
        {Spot::at("down", Spot::kStart), Spot::at("up", Spot::kStart)},
    };
    for (const auto& [press, release] : holds) {
        run("open shop 500");
        pt->step(2);
        run(press);
        run("open title");
        pt->step(2);
        pt->sounds();
        run(release);
        pt->step(100);
        EXPECT_TRUE(dynamic_cast<TitleScene*>(pt->runningScene())) << release;
        EXPECT_EQ(soundFiles("playBackgroundMusic"), std::vector<std::string>()) << release;
    }
}

// The mouse holds the result panel's SHOP button while R retries; let go during the fade, the
// shop button must not fire: the new round begins and stays.
TEST_F(InputPlayTest, AButtonHeldWhenAFadeBeginsIsLetGo) {
    run("open game 7 0 0");
    pt->step(500);
    pt->down(Spot::kGoShop.x, Spot::kGoShop.y);
    run("key R");
    pt->step(10);
    ASSERT_TRUE(dynamic_cast<GameScene*>(fadingTo()));
    pt->sounds();
    pt->up(Spot::kGoShop.x, Spot::kGoShop.y);
    EXPECT_EQ(soundFiles("playEffect"), std::vector<std::string>());
    pt->step(4 * kFps);
    EXPECT_TRUE(dynamic_cast<GameScene*>(pt->runningScene()));
    EXPECT_FALSE(fadingTo());
}

TEST_F(InputPlayTest, APadUnpluggedWhileHeldPressesNothing) {
    run("pad attach 0");
    run("open shop 500");
    pt->step(2);
    run("pad button 0 a down");
    run("pad detach 0");
    pt->step(70);
    EXPECT_TRUE(dynamic_cast<UpgradeScene*>(pt->runningScene()));
    // Plugged in again, it plays.
    run("pad attach 1");
    run("pad button 1 a down");
    run("pad button 1 a up");
    pt->step(1);
    EXPECT_TRUE(fadingTo());
}

TEST_F(InputPlayTest, TheDpadWaitsThreeFramesForADiagonal) {
    run("pad attach 0");
    run("open game 0 3 0");
    pt->step(10);
    ASSERT_NO_FATAL_FAILURE(settleRing());
    auto expectPresses = [&](int count, int lastButton) {
        EXPECT_EQ(ring()->pressCount, count);
        if (lastButton >= 0) {
            EXPECT_EQ(ring()->lastKind, ring()->buttons[lastButton]->kind + 1);
        }
    };
    // Up, then left a frame later: the top-left button, on the third frame.
    run("pad button 0 dpup down");
    pt->step(1);
    run("pad button 0 dpleft down");
    pt->step(1);
    expectPresses(0, -1);
    pt->step(1);
    expectPresses(1, 0);
    // More buttons while it is held press nothing more.
    run("pad button 0 dpright down");
    pt->step(5);
    expectPresses(1, 0);
    run("pad button 0 dpup up");
    run("pad button 0 dpleft up");
    run("pad button 0 dpright up");
    pt->step(5);
    expectPresses(1, 0);
    // Let go sooner: it acts at once, on what was held.
    run("pad button 0 dpright down");
    run("pad button 0 dpright up");
    expectPresses(2, 2);
    // Up or down alone points at no button.
    run("pad button 0 dpdown down");
    pt->step(5);
    run("pad button 0 dpdown up");
    expectPresses(2, 2);
}

TEST_F(InputPlayTest, AStickFlicksPastSixtyPercentAndRearmsUnderThirty) {
    run("pad attach 0");
    run("open game 0 3 0");
    pt->step(10);
    ASSERT_NO_FATAL_FAILURE(settleRing());
    const std::pair<const char*, int> moves[] = {
        {"0.55", 0}, // not far enough
        {"0.65", 1}, // a flick toward the right-hand button
        {"0.4", 1},  // back, but not under 30 %
        {"0.7", 1},  // so this is no new flick
        {"0.2", 1},  // re-armed
        {"0.7", 2},  // a second flick
    };
    for (const auto& [value, presses] : moves) {
        run(std::string("pad axis 0 leftx ") + value);
        pt->step(1);
        EXPECT_EQ(ring()->pressCount, presses) << value;
    }
    EXPECT_EQ(ring()->lastKind, ring()->buttons[2]->kind + 1);
    // Both axes together: 0.45 across and 0.45 down is past 60 % of the travel.
    run("pad axis 0 leftx 0");
    run("pad axis 0 lefty 0.45");
    pt->step(1);
    EXPECT_EQ(ring()->pressCount, 2);
    run("pad axis 0 leftx 0.45");
    pt->step(1);
    EXPECT_EQ(ring()->pressCount, 3);
    EXPECT_EQ(ring()->lastKind, ring()->buttons[3]->kind + 1);
}

} // namespace
