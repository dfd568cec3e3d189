// A player who never touches the mouse: the round's pause panel, the title's quit panel,
// rumble, the cursor, and the input faults a keyboard or pad player met.
#include "engine/app/SoundSettings.h"
#include "engine/audio/SimpleAudioEngine.h"
#include "game/round/ButtonManager.h"
#include "game/round/GameButton.h"
#include "game/round/GameLayer.h"
#include "game/round/GameScene.h"
#include "game/round/PausePanel.h"
#include "game/round/TimeSprite.h"
#include "game/title/QuitPanel.h"
#include "game/title/TitleScene.h"
#include "tests/support/test_loop_fixture.h"

#include <cmath>

using cocos2d::SoundSettings;
using cocos2d::Vec2;

namespace {

class NoMouseTest : public LoopTest {
  protected:
    GameLayer* round() const { return pt->find<GameLayer>(); }
    ButtonManager* ring() const { return round()->buttonManager; }
    PausePanel* pause() const { return pt->find<PausePanel>(); }
    void run(const std::string& command) { ASSERT_EQ(pt->execute(command), "ok") << command; }
    // A round under way, its ring settled on six different elements.
    void playRound(const char* open = "open game 0 3 0") {
        run(open);
        pt->step(60);
    }
    int elementOf(int button) const { return ring()->buttons[button]->kind + 1; }
    // The picture's centre of a panel's button, as a finger would aim.
    static Vec2 centreOf(const cocos2d::Node* menu) {
        const auto* item = menu->getChildren().front();
        const auto size = item->getContentSize();
        return item->convertToWorldSpace(Vec2(size.width / 2, size.height / 2));
    }
    int count(const std::string& call) {
        int n = 0;
        for (const auto& s : pt->sounds())
            n += s.value("call", "") == call;
        return n;
    }
};

TEST_F(NoMouseTest, AStickIsJudgedWhereItIsAtTheEndOfTheFrame) {
    run("seed 5");
    run("pad attach 0");
    playRound();
    // Nearly as far across as down: the top-left button, not the left one.
    run("pad axis 0 leftx -0.657");
    run("pad axis 0 lefty -0.686");
    pt->step(1);
    EXPECT_EQ(ring()->lastKind, elementOf(0));
    run("pad axis 0 leftx 0");
    run("pad axis 0 lefty 0");
    // Flicked to the corners one axis after the other, each reaches its diagonal button.
    const std::pair<const char*, int> corners[] = {
        {"-0.95 -0.95", 0}, {"0.95 -0.95", 1}, {"0.95 0.95", 3}, {"-0.95 0.95", 4}};
    for (const auto& [xy, button] : corners) {
        const std::string s = xy, x = s.substr(0, s.find(' ')), y = s.substr(s.find(' ') + 1);
        run("pad axis 0 leftx " + x);
        run("pad axis 0 lefty " + y);
        run("pad axis 0 leftx 0");
        run("pad axis 0 lefty 0");
        pt->step(1);
        EXPECT_EQ(ring()->lastKind, elementOf(button)) << xy;
    }
    EXPECT_EQ(ring()->pressCount, 5);
}

TEST_F(NoMouseTest, APressHeldWhileItsButtonChangesEntersNothing) {
    run("seed 3");
    run("open game 0 3 0");
    run("key E down");
    const int shown = elementOf(1);
    for (int n = 0; n < 40 && elementOf(1) == shown; ++n)
        pt->step(1);
    ASSERT_NE(elementOf(1), shown);
    run("key E up");
    pt->step(1);
    EXPECT_EQ(ring()->pressCount, 0);
}

TEST_F(NoMouseTest, LettersAndSymbolsFollowTheLabelsTheRingFollowsThePlaces) {
    run("layout fr");
    run("key M"); // labelled ","
    EXPECT_FALSE(SoundSettings::isMuted());
    run("key ;"); // labelled "M"
    EXPECT_TRUE(SoundSettings::isMuted());
    run("layout de");
    run("key -"); // labelled "ß"
    EXPECT_TRUE(SoundSettings::isMuted());
    run("key /"); // labelled "-": turns the sound back on a step lower
    EXPECT_FALSE(SoundSettings::isMuted());
    EXPECT_EQ(SoundSettings::volumePercent(), 90);
    run("key ]"); // labelled "+"
    EXPECT_EQ(SoundSettings::volumePercent(), 100);
    // The hexagon is a shape: on QWERTZ the key in Z's place, labelled Y, is still the bottom left.
    playRound();
    run("key Z");
    pt->step(1);
    EXPECT_EQ(ring()->lastKind, elementOf(4));
}

TEST_F(NoMouseTest, AVolumeKeyHeldRepeats) {
    run("key - down");
    run("key - repeat");
    run("key - repeat");
    run("key - up");
    EXPECT_EQ(SoundSettings::volumePercent(), 70);
    // Other keys do not: one mute however long M is held.
    run("key M down");
    run("key M repeat");
    run("key M up");
    EXPECT_TRUE(SoundSettings::isMuted());
}

TEST_F(NoMouseTest, ADpadPressBegunUnderAFadeDoesNothingInTheNextScene) {
    run("pad attach 0");
    auto skipToTheRound = [&] {
        run("open event 0 3 0");
        pt->step(2);
        run("key Space"); // half a second of fade to the round
        ASSERT_GE(framesUntilFade(), 0);
    };
    skipToTheRound();
    const int fade = framesOfFade();
    for (int early : {2, 1}) {
        skipToTheRound();
        pt->step(fade - early);
        ASSERT_TRUE(fadingTo());
        run("pad button 0 dpleft down");
        pt->step(5);
        run("pad button 0 dpleft up");
        ASSERT_TRUE(round());
        EXPECT_EQ(ring()->pressCount, 0) << early;
    }
}

TEST_F(NoMouseTest, APadWithoutALayoutIsSaidOnce) {
    run("pad attach 0 unknown");
    run("pad attach 1 unknown");
    pt->step(1);
    int warnings = 0;
    for (const auto& line : pt->logLines())
        warnings += line.get<std::string>().find("no known button layout") != std::string::npos;
    EXPECT_EQ(warnings, 1);
    ASSERT_EQ(pt->notes().size(), 1u);
    EXPECT_EQ(pt->notes()[0].value("text", ""), "Controller not supported");
}

TEST_F(NoMouseTest, ThePausePanelHoldsTheRoundStill) {
    playRound();
    run("key Escape");
    ASSERT_TRUE(pause()->isOpen);
    const int seconds = round()->timeSprite->seconds;
    pt->sounds();
    pt->step(5 * kFps);
    EXPECT_EQ(round()->timeSprite->seconds, seconds);
    // The window going away and coming back does not wake the music under the panel.
    run("focus out");
    run("focus in");
    pt->step(1);
    EXPECT_EQ(count("resumeBackgroundMusic"), 0);
    EXPECT_FALSE(CocosDenshion::SimpleAudioEngine::getInstance()->isBackgroundMusicPlaying());
    // The ring takes no presses under it.
    run("key W");
    pt->step(1);
    EXPECT_EQ(ring()->pressCount, 0);
    // Pad B, like Escape, resumes: the clock and the music go on.
    run("pad attach 0");
    run("pad button 0 b down");
    run("pad button 0 b up");
    EXPECT_FALSE(pause()->isOpen);
    EXPECT_TRUE(CocosDenshion::SimpleAudioEngine::getInstance()->isBackgroundMusicPlaying());
    pt->step(2 * kFps);
    EXPECT_LT(round()->timeSprite->seconds, seconds);
    // Unplugging the pad pauses, as does the button in the corner.
    run("pad detach 0");
    EXPECT_TRUE(pause()->isOpen);
    run("key P");
    ASSERT_FALSE(pause()->isOpen);
    const Vec2 corner = centreOf(pause()->pauseButton);
    tap(corner);
    EXPECT_TRUE(pause()->isOpen);
}

TEST_F(NoMouseTest, EachItemOfThePausePanelWorks) {
    run("open game 40 3 0");
    pt->step(60);
    run("pad attach 0");
    run("pad button 0 start down");
    run("pad button 0 start up");
    ASSERT_TRUE(pause()->isOpen);
    auto press = [&](int item) {
        // Items in the order they were added: RESUME, -, +, MUTE, FULLSCREEN, TITLE.
        std::vector<cocos2d::Node*> menus;
        for (auto* child : pause()->panel->getChildren())
            if (dynamic_cast<cocos2d::Menu*>(child)) menus.push_back(child);
        tap(centreOf(menus.at(item)));
    };
    press(1);
    press(1);
    EXPECT_EQ(SoundSettings::volumePercent(), 80);
    press(2);
    EXPECT_EQ(SoundSettings::volumePercent(), 90);
    press(3);
    EXPECT_TRUE(SoundSettings::isMuted());
    pt->step(1);
    EXPECT_EQ(pause()->soundLabel->getString(), "Sound off");
    // The harness has no window to make fullscreen: the engine's action is what it asks for.
    int fullscreen = 0;
    cocos2d::InputMap::getInstance()->setAction(cocos2d::InputMap::kFullscreen, [&] { ++fullscreen; });
    press(4);
    cocos2d::InputMap::getInstance()->setAction(cocos2d::InputMap::kFullscreen, nullptr);
    EXPECT_EQ(fullscreen, 1);
    press(0);
    EXPECT_FALSE(pause()->isOpen);
    // Back to the title, the round given up once asked again: the coins stay as they were.
    seconds(0.5);
    run("key Escape");
    for (int ask = 0; ask < 2; ++ask) {
        run("pad button 0 y down");
        run("pad button 0 y up");
    }
    EXPECT_TRUE(arriveAt<TitleScene>());
    EXPECT_EQ(intKey("scoreMoney"), 40);
}

TEST_F(NoMouseTest, EscapeOnTheTitleOffersQuit) {
    pt->step(30);
    run("key Escape");
    auto* quit = pt->find<QuitPanel>();
    ASSERT_TRUE(quit->isOpen);
    // The title waits: no tap reaches it, and Escape closes the panel again.
    pt->step(3 * kFps);
    EXPECT_TRUE(dynamic_cast<TitleScene*>(pt->runningScene()));
    run("key Escape");
    EXPECT_FALSE(quit->isOpen);
    run("pad attach 0");
    run("pad button 0 b down");
    run("pad button 0 b up");
    ASSERT_TRUE(quit->isOpen);
    EXPECT_FALSE(pt->quitRequested());
    run("pad button 0 y down");
    run("pad button 0 y up");
    pt->step(1);
    EXPECT_TRUE(pt->quitRequested());
}

TEST_F(NoMouseTest, APadRumblesForALostLifeAndLongerForTheEnd) {
    run("pad attach 0");
    run("open game 0 0 1");
    EXPECT_EQ(pt->execute("wait stage 2"), "ok");
    EXPECT_EQ(pt->execute("rumbles"), R"(["pad 0 32767 32767"])");
    EXPECT_EQ(pt->execute("wait game over"), "ok");
    EXPECT_EQ(pt->execute("rumbles"), R"(["pad 0 65535 65535"])");
}

TEST_F(NoMouseTest, TheCursorHidesForKeysPadsAndFingersAndShowsForTheMouse) {
    EXPECT_EQ(pt->execute("cursor"), "shown");
    run("key Space");
    EXPECT_EQ(pt->execute("cursor"), "hidden");
    run("mouse 100 100");
    EXPECT_EQ(pt->execute("cursor"), "shown");
    run("finger 1 down 500 500");
    run("finger 1 up 500 500");
    EXPECT_EQ(pt->execute("cursor"), "hidden");
    run("mouse 120 100");
    run("pad attach 0");
    run("pad axis 0 leftx 0.1"); // a stick trembling at rest is no hand on the pad
    EXPECT_EQ(pt->execute("cursor"), "shown");
    run("pad button 0 x down");
    EXPECT_EQ(pt->execute("cursor"), "hidden");
}

TEST_F(NoMouseTest, BadgesFollowThePadsFamilyAndGoAwayOnATap) {
    run("open shop 500");
    pt->step(2);
    auto pictureOf = [&](const std::string& control) -> std::string {
        for (const auto& b : nlohmann::json::parse(pt->execute("badges")))
            if (b["control"] == control) return b["picture"];
        return "";
    };
    EXPECT_EQ(pt->execute("badges"), "[]");
    for (const char* family : {"xbox", "playstation", "nintendo"}) {
        run(std::string("pad attach 1 ") + family);
        run("pad button 1 x down");
        run("pad button 1 x up");
        // The bottom button starts, except on a Nintendo pad, which confirms with the button
        // labelled A (its east one) unless the player chooses otherwise.
        const bool byLabel = std::string(family) == "nintendo";
        EXPECT_EQ(pictureOf("start"),
                  std::string("GameScene/badge_") + family + (byLabel ? "_b.png" : "_a.png"));
        EXPECT_EQ(pictureOf("buyTime"), std::string("GameScene/badge_") + family + "_leftshoulder.png");
        EXPECT_EQ(pictureOf("goTitle"),
                  std::string("GameScene/badge_") + family + (byLabel ? "_a.png" : "_b.png"));
        run("pad detach 1");
    }
    run("key Up");
    EXPECT_EQ(pictureOf("start"), "GameScene/badge_keyWide.png");
    EXPECT_EQ(pictureOf("buyLife"), "GameScene/badge_key.png");
    run("finger 1 down 960 1000");
    run("finger 1 up 960 1000");
    EXPECT_EQ(pt->execute("badges"), "[]");
}

// Every button a finger can press is at least 9 mm across on a 7-inch 1280 x 800 screen: where
// a finger going down truly presses it, through the game's own touch path, whatever lies
// over or beside it.
TEST_F(NoMouseTest, EveryTouchTargetIsNineMillimetresOnASmallScreen) {
    const double mmPerUnit = 7 * 25.4 / std::hypot(1280.0, 800.0) * (1280.0 / 1920.0);
    auto pressedAt = [&](const Vec2& p) -> const cocos2d::MenuItemImage* {
        constexpr int kProbe = 4242;
        cocos2d::Director::getInstance()->touchBegan(kProbe, p);
        const cocos2d::MenuItemImage* hit = nullptr;
        for (auto* item : pt->findAll<cocos2d::MenuItemImage>())
            if (item->isSelected()) hit = item;
        cocos2d::Director::getInstance()->cancelTouch(kProbe);
        return hit;
    };
    auto checkShown = [&](const std::string& where) {
        int checked = 0;
        for (auto* item : pt->findAll<cocos2d::MenuItemImage>()) {
            if (!item->isShown() || item->isPausedForScheduling()) continue;
            const auto size = item->getContentSize();
            const Vec2 c = item->convertToWorldSpace(Vec2(size.width / 2, size.height / 2));
            // A ring button's newer picture lies over its older ones: the newest is the button.
            const auto* top = pressedAt(c);
            if (top && top != item && top->convertToWorldSpace(Vec2(size.width / 2, size.height / 2)) == c)
                continue;
            float reach[4] = {};
            const Vec2 toward[4] = {Vec2(1, 0), Vec2(-1, 0), Vec2(0, 1), Vec2(0, -1)};
            for (int d = 0; d < 4; ++d)
                while (reach[d] < 400 && pressedAt(c + toward[d] * (reach[d] + 1)) == item)
                    reach[d] += 1;
            const double wide = (reach[0] + reach[1]) * mmPerUnit, high = (reach[2] + reach[3]) * mmPerUnit;
            EXPECT_GE(wide, 9) << where << " " << item->getNormalFile() << " is " << wide << " x " << high
                               << " mm";
            EXPECT_GE(high, 9) << where << " " << item->getNormalFile() << " is " << wide << " x " << high
                               << " mm";
            ++checked;
        }
        EXPECT_GT(checked, 0) << where;
    };
    run("open shop 500");
    pt->step(2);
    checkShown("shop");
    playRound("open game 0 0 0");
    checkShown("round");
    run("key Escape");
    checkShown("pause panel");
    run("key Escape");
    ASSERT_EQ(pt->execute("wait game over"), "ok");
    pt->step(4 * kFps);
    checkShown("result panel");
    run("open title");
    pt->step(2);
    run("key Escape");
    checkShown("quit panel");
}

} // namespace
