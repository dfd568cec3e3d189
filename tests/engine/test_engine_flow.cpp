// Scene changes with fades, and touches: priority by drawing order, swallowing, menus.
#include "tests/support/EngineFixture.h"

USING_NS_CC;

namespace {

struct Recorder {
    std::vector<std::string> events;
};

EventListenerTouchOneByOne* listen(Node* node, Recorder& rec, const std::string& name, bool claim,
                                   bool swallow) {
    auto* l = EventListenerTouchOneByOne::create();
    l->setSwallowTouches(swallow);
    l->onTouchBegan = [&rec, name, claim](Touch*, Event*) {
        rec.events.push_back(name + ".began");
        return claim;
    };
    l->onTouchEnded = [&rec, name](Touch*, Event*) { rec.events.push_back(name + ".ended"); };
    Director::getInstance()->getEventDispatcher()->addEventListenerWithSceneGraphPriority(l, node);
    return l;
}

void tap(const Vec2& p) {
    Director::getInstance()->touchBegan(0, p);
    Director::getInstance()->touchEnded(0, p);
}

} // namespace

TEST_F(EngineTest, WhatIsDrawnOnTopIsAskedFirstAndSwallowingStopsTheRest) {
    Recorder rec;
    auto* low = Node::create();
    auto* high = Node::create();
    scene->addChild(high, 2);
    scene->addChild(low, 1);
    listen(low, rec, "low", true, true);
    listen(high, rec, "high", true, false);
    tap(Vec2(1, 1));
    ASSERT_EQ(rec.events.size(), 4u);
    EXPECT_EQ(rec.events[0], "high.began");
    EXPECT_EQ(rec.events[1], "low.began");
    EXPECT_EQ(std::count(rec.events.begin(), rec.events.end(), "high.ended"), 1);
    EXPECT_EQ(std::count(rec.events.begin(), rec.events.end(), "low.ended"), 1);

    rec.events.clear();
    high->setLocalZOrder(0);
    tap(Vec2(1, 1));
    EXPECT_EQ(rec.events, (std::vector<std::string>{"low.began", "low.ended"}));
}

TEST_F(EngineTest, ListenersOfRemovedNodesHearNothing) {
    Recorder rec;
    auto* n = Node::create();
    scene->addChild(n);
    listen(n, rec, "n", true, true);
    Director::getInstance()->touchBegan(0, Vec2(1, 1));
    n->removeFromParentAndCleanup(true);
    Director::getInstance()->touchEnded(0, Vec2(1, 1));
    EXPECT_EQ(rec.events, std::vector<std::string>{"n.began"});
    frames(1);
}

TEST_F(MediaTest, MenusFireOnReleaseOverTheirItemAndOnlyWhileShown) {
    picture("b1.png", 100, 50);
    picture("b2.png", 100, 50);
    int presses = 0;
    auto* holder = Node::create();
    auto* item = MenuItemImage::create("b1.png", "b2.png", [&](Ref*) { ++presses; });
    auto* menu = Menu::create(item);
    holder->addChild(menu);
    scene->addChild(holder);
    // The item sits at the screen centre: 910..1010 x 515..565.
    Director::getInstance()->touchBegan(0, Vec2(960, 540));
    EXPECT_TRUE(item->isSelected());
    Director::getInstance()->touchMoved(0, Vec2(2000, 540));
    EXPECT_FALSE(item->isSelected());
    Director::getInstance()->touchEnded(0, Vec2(2000, 540));
    EXPECT_EQ(presses, 0);

    tap(Vec2(1005, 560));
    EXPECT_EQ(presses, 1);
    tap(Vec2(1015, 540));
    EXPECT_EQ(presses, 1);

    holder->setVisible(false);
    tap(Vec2(960, 540));
    EXPECT_EQ(presses, 1);
}

TEST_F(EngineTest, AFadeRunsBothScenesTakesNoTouchesAndSwapsAtTheEnd) {
    Recorder rec;
    auto* oldNode = Node::create();
    scene->addChild(oldNode);
    oldNode->runAction(MoveTo::create(10, Vec2(600, 0)));
    listen(scene, rec, "old", true, true);

    auto* next = Scene::create();
    auto* newNode = Node::create();
    next->addChild(newNode);
    newNode->runAction(MoveTo::create(10, Vec2(600, 0)));
    listen(next, rec, "new", true, true);
    Director::getInstance()->replaceScene(TransitionFade::create(1.0f, next, Color3B::WHITE));
    frames(1);
    ASSERT_NE(dynamic_cast<TransitionFade*>(Director::getInstance()->getRunningScene()), nullptr);
    frames(29);
    tap(Vec2(5, 5));
    EXPECT_TRUE(rec.events.empty());
    EXPECT_GT(oldNode->getPositionX(), 0);
    EXPECT_GT(newNode->getPositionX(), 0);
    frames(30);
    EXPECT_EQ(Director::getInstance()->getRunningScene(), next);
    tap(Vec2(5, 5));
    EXPECT_EQ(rec.events, (std::vector<std::string>{"new.began", "new.ended"}));
}

TEST_F(EngineTest, ASceneAskedForDuringAFadeWaitsForItsEnd) {
    auto* second = Scene::create();
    Director::getInstance()->replaceScene(TransitionFade::create(0.5f, second, Color3B::WHITE));
    frames(10);
    auto* third = Scene::create();
    Director::getInstance()->replaceScene(third);
    frames(20);
    EXPECT_EQ(Director::getInstance()->getRunningScene(), second);
    frames(1);
    EXPECT_EQ(Director::getInstance()->getRunningScene(), third);
}

TEST_F(EngineTest, StoppedAnimationMeansNoUpdates) {
    auto* n = Node::create();
    scene->addChild(n);
    n->runAction(MoveTo::create(1, Vec2(60, 0)));
    Director::getInstance()->stopAnimation();
    frames(30);
    EXPECT_EQ(n->getPositionX(), 0);
    Director::getInstance()->startAnimation();
    frames(30);
    EXPECT_NEAR(n->getPositionX(), 30, 1e-3);
}
