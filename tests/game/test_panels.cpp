// The panels laid over a scene, as a player meets them: the title's quit panel and the round's
// pause panel, where their highlight starts, what one slip can and cannot do, and what is seen.
#include "game/figures/Star.h"
#include "game/figures/StarManager.h"
#include "game/round/GameLayer.h"
#include "game/round/PausePanel.h"
#include "game/shop/UpgradeScene.h"
#include "game/title/QuitPanel.h"
#include "game/title/Tap.h"
#include "game/title/TitleLayer.h"
#include "game/title/TitleScene.h"
#include "tests/support/test_loop_fixture.h"

using cocos2d::InputMap;
using cocos2d::MenuItemImage;
using cocos2d::Vec2;
using nlohmann::json;

namespace {

class PanelsTest : public LoopTest {
  protected:
    void run(const std::string& command) { ASSERT_EQ(pt->execute(command), "ok") << command; }
    void pad(const std::string& button) {
        run("pad button 0 " + button + " down");
        run("pad button 0 " + button + " up");
    }
    QuitPanel* quitPanel() const { return pt->find<QuitPanel>(); }
    PausePanel* pausePanel() const { return pt->find<PausePanel>(); }
    // The picture of the button the highlight is on, or "" for none.
    static std::string highlighted() {
        const MenuItemImage* item = InputMap::getInstance()->highlighted();
        return item ? item->getNormalFile() : "";
    }
    json badgeOf(const std::string& control) {
        for (const auto& b : json::parse(pt->execute("badges")))
            if (b["control"] == control) return b;
        return nullptr;
    }
    // Every button shown in `panel` is what is seen at its middle, under nothing but its own word:
    // drawn over the panel's dimmer and plate, not under them.
    void expectButtonsOnTop(cocos2d::Node* panel, const char* name) {
        int seen = 0;
        for (auto* item : pt->findAll<MenuItemImage>()) {
            if (!item->isShown() || item->getParent()->getParent() != panel) continue;
            const auto size = item->getContentSize();
            const Vec2 c = item->convertToWorldSpace(Vec2(size.width / 2, size.height / 2));
            const json drawn =
                json::parse(pt->execute("look " + std::to_string(c.x) + " " + std::to_string(c.y)));
            ASSERT_FALSE(drawn.empty()) << name;
            // Words drawn over a wordless button are the button's own: the picture under them counts.
            std::string top = drawn.back();
            for (auto it = drawn.rbegin(); it != drawn.rend() && top.find('/') == std::string::npos; ++it)
                top = *it;
            EXPECT_NE(top.find(item->getNormalFile()), std::string::npos)
                << name << ": " << item->getNormalFile() << " lies under " << drawn.dump();
            ++seen;
        }
        EXPECT_GE(seen, 2) << name;
    }
    // Presses `step` until the highlight is on `picture`.
    void stepTo(const std::string& picture, const std::string& step) {
        for (int n = 0; n < 6 && highlighted() != picture; ++n) {
            run(step + " down");
            pt->step(3); // the D-pad waits a moment for a diagonal
            run(step + " up");
        }
        ASSERT_EQ(highlighted(), picture);
    }
};

TEST_F(PanelsTest, TheQuitPanelStartsOnTheWayBackAndNoStartKeyQuits) {
    pt->step(2);
    run("pad attach 0 nintendo");
    // Nintendo's B (SDL's bottom button, back by its label) opens it; its A, a confirm there,
    // presses BACK and must not quit.
    pad("a");
    ASSERT_TRUE(quitPanel()->isOpen);
    EXPECT_EQ(highlighted(), "GameScene/backButton1.png");
    EXPECT_EQ(badgeOf("panelBack")["picture"], "GameScene/badge_nintendo_a.png");
    pad("b");
    EXPECT_FALSE(quitPanel()->isOpen);
    // Each start key, the panel opened fresh each time: closes it or does nothing, never quits.
    for (const char* key : {"key Return", "key Space", "key Keypad Enter", "pad a", "pad b", "pad start"}) {
        run("key Escape");
        ASSERT_TRUE(quitPanel()->isOpen) << key;
        EXPECT_EQ(badgeOf("panelBack")["text"], "Esc");
        const std::string k = key;
        if (k.rfind("pad ", 0) == 0)
            pad(k.substr(4));
        else
            run(k);
        pt->step(2);
        EXPECT_FALSE(pt->quitRequested()) << key;
        if (quitPanel()->isOpen) run("key Escape");
        EXPECT_FALSE(quitPanel()->isOpen) << key;
        EXPECT_TRUE(pt->find<TitleLayer>()->canTap) << key << " started the game";
    }
    // The quit itself takes its own key, which its badge shows.
    run("key Escape");
    EXPECT_EQ(badgeOf("quit")["text"], "Q");
    run("key Q");
    pt->step(1);
    EXPECT_TRUE(pt->quitRequested());
}

TEST_F(PanelsTest, TheTitleStandsStillAndTakesNoStartUnderTheQuitPanel) {
    pt->step(10);
    run("pad attach 0");
    pad("b");
    ASSERT_TRUE(quitPanel()->isOpen);
    auto* title = pt->find<TitleLayer>();
    const int opacity = title->tap->getOpacity();
    std::vector<Vec2> stars;
    for (auto* star : title->starManager->stars)
        stars.push_back(star->getPosition());
    pad("start");
    seconds(3);
    EXPECT_EQ(static_cast<int>(title->tap->getOpacity()), opacity) << "the prompt blinks under the panel";
    int moved = 0;
    for (std::size_t i = 0; i < stars.size(); ++i)
        moved += !(title->starManager->stars[i]->getPosition() == stars[i]);
    EXPECT_EQ(moved, 0) << "stars moved under the panel";
    EXPECT_TRUE(title->canTap) << "Start began the game under the panel";
    EXPECT_FALSE(fadingTo());
    EXPECT_TRUE(quitPanel()->isOpen);
    // Closed, the title goes on and Start starts.
    pad("b");
    pad("start");
    EXPECT_TRUE(arriveAt<UpgradeScene>());
}

TEST_F(PanelsTest, TheTitleSaysHowToStartAndQuitBeforeAnythingIsUsed) {
    pt->step(1);
    EXPECT_EQ(badgeOf("tapAnywhere")["text"], "Space");
    EXPECT_EQ(badgeOf("quitPanel")["text"], "Esc");
    EXPECT_TRUE(quitPanel()->hint->isShown());
    // The mouse puts the prompts away; a pad brings its own.
    run("mouse 300 300");
    pt->step(1);
    EXPECT_EQ(pt->execute("badges"), "[]");
    EXPECT_FALSE(quitPanel()->hint->isShown());
    run("pad attach 0 playstation");
    pt->step(1);
    EXPECT_EQ(badgeOf("quitPanel")["picture"], "GameScene/badge_playstation_b.png");
    EXPECT_TRUE(quitPanel()->hint->isShown());
}

TEST_F(PanelsTest, EveryOpeningStartsOnResumeAndGivingUpAsksOnce) {
    run("open game 40 3 0");
    pt->step(60);
    run("pad attach 0");
    pad("start");
    ASSERT_TRUE(pausePanel()->isOpen);
    EXPECT_EQ(highlighted(), "GameScene/resumeButton1.png");
    stepTo("GameScene/titleButton1.png", "pad button 0 dpdown");
    // Resumed and paused again: A resumes, it does not give the round up.
    pad("b");
    ASSERT_FALSE(pausePanel()->isOpen);
    pad("start");
    EXPECT_EQ(highlighted(), "GameScene/resumeButton1.png");
    pad("a");
    EXPECT_FALSE(pausePanel()->isOpen);
    // TITLE asks first, on BACK; BACK goes back to the panel, on RESUME again.
    pad("start");
    stepTo("GameScene/titleButton1.png", "pad button 0 dpdown");
    pad("a");
    ASSERT_TRUE(pausePanel()->isAsking);
    EXPECT_EQ(highlighted(), "GameScene/backButton1.png");
    pad("a");
    EXPECT_FALSE(pausePanel()->isAsking);
    EXPECT_TRUE(pausePanel()->isOpen);
    EXPECT_EQ(highlighted(), "GameScene/resumeButton1.png");
    seconds(2);
    EXPECT_TRUE(pt->find<GameLayer>()) << "the round was given up without a second yes";
    // Y twice: the question, then the title, the round's coins as they were.
    pad("y");
    EXPECT_EQ(badgeOf("leaveRound")["picture"], "GameScene/badge_xbox_y.png");
    pad("y");
    EXPECT_TRUE(arriveAt<TitleScene>());
    EXPECT_EQ(intKey("scoreMoney"), 40);
}

TEST_F(PanelsTest, TheHighlightStartsAgainInTheNextScene) {
    run("open shop 500");
    pt->step(2);
    const std::string start = highlighted();
    ASSERT_NE(start, "");
    stepTo("GameScene/titleButton1.png", "key Left");
    run("key Escape");
    ASSERT_TRUE(arriveAt<TitleScene>());
    run("key Space");
    ASSERT_TRUE(arriveAt<UpgradeScene>());
    pt->step(2);
    EXPECT_EQ(highlighted(), start);
}

TEST_F(PanelsTest, PanelButtonsAreDrawnOverTheirDimmerAndPlate) {
    pt->step(2);
    run("key Escape");
    expectButtonsOnTop(quitPanel()->panel, "quit panel");
    run("open game 0 3 0");
    pt->step(60);
    run("key Escape");
    expectButtonsOnTop(pausePanel()->panel, "pause panel");
    run("key T");
    ASSERT_TRUE(pausePanel()->isAsking);
    expectButtonsOnTop(pausePanel()->ask, "give-up question");
}

} // namespace
