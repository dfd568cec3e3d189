// What the engine lays over the game, as a player sees it: the key and pad badges beside their
// buttons and the notes in the corners never hide a button, a word, a number, the timer or
// the rows; the prompts stay while only the window moves under the pointer.
#include "engine/app/SoundSettings.h"
#include "engine/base/PlayerTexts.h"
#include "engine/graphics/Texture2D.h"
#include "engine/input/CursorWatch.h"
#include "game/round/AnswerPlate.h"
#include "game/round/TargetSprite.h"
#include "game/round/TimeSprite.h"
#include "tests/support/test_loop_fixture.h"

#include <algorithm>
#include <functional>
#include <tuple>

using namespace cocos2d;

namespace {

Rect boxOf(const Node* node) {
    const Size s = node->getContentSize();
    const Vec2 a = node->convertToWorldSpace(Vec2()), b = node->convertToWorldSpace(Vec2(s.width, s.height));
    return Rect(std::min(a.x, b.x), std::min(a.y, b.y), std::abs(b.x - a.x), std::abs(b.y - a.y));
}

float maxX(const Rect& r) {
    return r.origin.x + r.size.width;
}
float maxY(const Rect& r) {
    return r.origin.y + r.size.height;
}

bool meet(const Rect& a, const Rect& b) {
    return a.origin.x < maxX(b) && b.origin.x < maxX(a) && a.origin.y < maxY(b) && b.origin.y < maxY(a);
}

bool onScreen(const Rect& r) {
    return r.origin.x >= 0 && r.origin.y >= 0 && maxX(r) <= 1920 && maxY(r) <= 1080;
}

class PromptsTest : public LoopTest {
  protected:
    void run(const std::string& command) { ASSERT_EQ(pt->execute(command), "ok") << command; }
    // What the player reads in the running scene, named: buttons, words and numbers, the
    // timer, the target row and the answer row; not what a panel holds still under itself.
    std::vector<std::pair<std::string, Rect>> readable() const {
        std::vector<std::pair<std::string, Rect>> out;
        for (Node* node : pt->findAll<Node>()) {
            if (!node->isShown() || node->isPausedForScheduling()) continue;
            std::string name;
            if (auto* item = dynamic_cast<MenuItemImage*>(node)) name = item->getNormalFile();
            if (auto* label = dynamic_cast<Label*>(node)) name = "\"" + label->getString() + "\"";
            if (dynamic_cast<TimeSprite*>(node) || dynamic_cast<TargetSprite*>(node) ||
                dynamic_cast<AnswerPlate*>(node))
                name = "a picture to read";
            const Rect box = boxOf(node);
            if (!name.empty() && box.size.width > 0 && box.size.height > 0) out.emplace_back(name, box);
        }
        return out;
    }
    // Every screen with buttons, in turn, with `hands` ("key Up" or a pad's button) playing.
    void everyScreen(const std::string& hands, const std::function<void(const std::string&)>& check) {
        auto look = [&](const std::string& where) {
            run(hands);
            pt->step(2);
            check(where);
        };
        run("open title");
        pt->step(30);
        look("title");
        run("key Escape");
        look("quit panel");
        run("open shop 500");
        look("shop");
        run("open event 0 3 0");
        pt->step(30);
        look("cut-scene");
        run("open game 0 0 0");
        pt->step(60);
        look("round");
        run("key Escape");
        look("pause panel");
        run("key Escape");
        ASSERT_EQ(pt->execute("wait game over"), "ok");
        pt->step(4 * kFps);
        look("result panel");
    }
};

// The design area is fitted whole into any window (bars on the longer side), so a badge
// within it is on screen at 1280 x 800, 1920 x 1080, 800 x 600 or an upright window alike.
TEST_F(PromptsTest, BadgesSitBesideTheirButtonsOnScreenOverNothingToRead) {
    run("pad attach 0");
    for (const char* hands : {"key Up", "pad button 0 x down", "pad button 0 x up"})
        everyScreen(hands, [&](const std::string& where) {
            const auto badges = InputMap::getInstance()->badges();
            EXPECT_FALSE(badges.empty()) << where;
            const auto read = readable();
            std::vector<Rect> placed;
            for (const Badge& b : badges) {
                const Size size =
                    Director::getInstance()->getTextureCache()->addImage(b.picture)->getContentSize();
                const Rect r(b.where.x - size.width / 2, b.where.y - size.height / 2, size.width,
                             size.height);
                const std::string what = where + ": " + b.control + " (" + b.text + b.picture + ")";
                EXPECT_TRUE(onScreen(r)) << what << " at " << r.origin.x << ", " << r.origin.y;
                for (const auto& [name, box] : read)
                    EXPECT_FALSE(meet(r, box)) << what << " covers " << name;
                for (const Rect& other : placed)
                    EXPECT_FALSE(meet(r, other)) << what << " covers another badge";
                placed.push_back(r);
                // Beside its button: within a badge's width of the button's edge.
                Vec2 centre;
                if (b.control == "tapAnywhere" || !InputMap::getInstance()->pressPoint(b.control, centre))
                    continue;
                for (const auto& [name, box] : read)
                    if (box.containsPoint(centre) && name.find(".png") != std::string::npos) {
                        const float gapX = std::max({box.origin.x - maxX(r), r.origin.x - maxX(box), 0.0f});
                        const float gapY = std::max({box.origin.y - maxY(r), r.origin.y - maxY(box), 0.0f});
                        EXPECT_LT(std::max(gapX, gapY), 60) << what << " is far from " << name;
                    }
            }
        });
}

TEST_F(PromptsTest, NotesKeepClearOfWhatThePlayerReads) {
    const PlayerTexts& texts = PlayerTexts::get();
    everyScreen("key Up", [&](const std::string& where) {
        Overlay* overlay = Overlay::getInstance();
        overlay->show("volume", texts.volume(100), Overlay::Place::TopRight, 5);
        overlay->show("saving", texts.notSaved, Overlay::Place::BottomRight);
        overlay->show("kept aside", texts.keptAside, Overlay::Place::BottomRight, 5);
        overlay->show("unmappable pad", texts.padNotSupported, Overlay::Place::BottomLeft, 5);
        Director::getInstance()->drawScene();
        const auto read = readable();
        for (const auto& note : overlay->notes()) {
            EXPECT_TRUE(onScreen(note.drawnAt)) << where << ": " << note.text;
            for (const auto& [name, box] : read)
                EXPECT_FALSE(meet(note.drawnAt, box)) << where << ": \"" << note.text << "\" covers " << name;
        }
        overlay->clear();
    });
}

// The window moved, resized or made fullscreen under a pointer nobody touched reports motion:
// that is no mouse, and the prompts and the hidden cursor stay.
TEST_F(PromptsTest, OnlyTheMouseMovingOnTheScreenPutsThePromptsAway) {
    run("open shop 500");
    pt->step(2);
    run("mouse 900 500");
    run("key Up");
    ASSERT_NE(pt->execute("badges"), "[]");
    run("window moves 0 -40");
    run("window moves 120 30");
    EXPECT_NE(pt->execute("badges"), "[]");
    EXPECT_EQ(pt->execute("cursor"), "hidden");
    run("mouse 905 500");
    EXPECT_EQ(pt->execute("badges"), "[]");
    EXPECT_EQ(pt->execute("cursor"), "shown");
}

TEST(CursorWatch, InFullscreenTheCursorHidesWhileKeysOrAPadPlay) {
    int x = 10, y = 10, windowX = 0;
    CursorWatch watch(0);
    watch.setPointerOnScreen([&](CursorWatch::Place& p) {
        p = {x, y, windowX, 0};
        return true;
    });
    x = 20;
    EXPECT_TRUE(watch.moved(100));
    EXPECT_TRUE(watch.shown(true, 100));
    watch.handsOff();
    EXPECT_FALSE(watch.shown(true, 200));
    EXPECT_FALSE(watch.shown(false, 200));
    // Going fullscreen moves the window under the pointer, which stays where it was.
    EXPECT_FALSE(watch.moved(300));
    EXPECT_FALSE(watch.shown(true, 300));
    // A desktop that carries the pointer along with the window it makes fullscreen.
    windowX = -70;
    x -= 70;
    EXPECT_FALSE(watch.moved(350));
    EXPECT_FALSE(watch.shown(true, 350));
    y = 11;
    EXPECT_TRUE(watch.moved(400));
    EXPECT_TRUE(watch.shown(true, 400));
    // A mouse left still hides in fullscreen, never in a window.
    EXPECT_FALSE(watch.shown(true, 400 + CursorWatch::kHideAfterMs + 1));
    EXPECT_TRUE(watch.shown(false, 400 + CursorWatch::kHideAfterMs + 1));
    // The window opening under a still pointer: the motion that comes with it is no hand.
    watch.handsOff();
    watch.entered();
    x = 500;
    EXPECT_FALSE(watch.moved(500));
    EXPECT_FALSE(watch.shown(false, 500));
    x = 501;
    EXPECT_TRUE(watch.moved(510));
}

TEST_F(PromptsTest, VolumeKeysFollowThePrintedSymbolOnEveryLayout) {
    // The keys printed "-" and "=" (or "+") on each layout: French prints "-" on its 6 key,
    // which keeps the digit's code.
    const std::tuple<const char*, const char*, const char*> layouts[] = {
        {"us", "-", "="}, {"fr", "6", "="}, {"de", "/", "]"}};
    for (const auto& [layout, minus, plus] : layouts) {
        run(std::string("layout ") + layout);
        run(std::string("key ") + minus);
        EXPECT_EQ(SoundSettings::volumePercent(), 90) << layout;
        run(std::string("key ") + plus);
        EXPECT_EQ(SoundSettings::volumePercent(), 100) << layout;
    }
}

} // namespace
