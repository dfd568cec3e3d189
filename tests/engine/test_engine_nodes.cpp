// Transforms, drawing order, ownership and the menu placement rule.
#include "game/common/GameConstants.h"
#include "tests/support/EngineFixture.h"

#include <cmath>

USING_NS_CC;

namespace {

Vec2 anchorOnScreen(Node* node) {
    const Size s = node->getContentSize();
    return node->convertToWorldSpace(
        Vec2(node->getAnchorPoint().x * s.width, node->getAnchorPoint().y * s.height));
}

void expectNear(const Vec2& actual, float x, float y) {
    EXPECT_NEAR(actual.x, x, 0.05f);
    EXPECT_NEAR(actual.y, y, 0.05f);
}

} // namespace

TEST_F(EngineTest, TransformsFollowParentsAnchorsScaleAndRotation) {
    auto* parent = Node::create();
    parent->setPosition(100, 50);
    parent->setScale(2);
    scene->addChild(parent);
    auto* child = Sprite::create();
    child->setContentSize(Size(40, 20));
    child->setPosition(10, 10);
    parent->addChild(child);
    // A node's anchor is its origin; a sprite's is its centre.
    expectNear(anchorOnScreen(child), 120, 70);
    expectNear(child->convertToWorldSpace(Vec2(0, 0)), 120 - 40, 70 - 20);

    child->setRotation(90); // clockwise: the bottom-left corner swings up-left
    expectNear(child->convertToWorldSpace(Vec2(0, 0)), 120 - 20, 70 + 40);
    expectNear(child->convertToNodeSpace(Vec2(120, 70)), 20, 10);
}

TEST_F(EngineTest, LayersAndScenesSpanTheDesignAreaAndScaleAboutTheirCentre) {
    auto* layer = Layer::create();
    layer->setScale(0.5f);
    scene->addChild(layer);
    EXPECT_EQ(layer->getContentSize(), Size(1920, 1080));
    // Position names the corner, scaling turns about the centre.
    expectNear(layer->convertToWorldSpace(Vec2(960, 540)), 960, 540);
    expectNear(layer->convertToWorldSpace(Vec2(0, 0)), 480, 270);
}

TEST_F(EngineTest, MenuItemsAppearWhereTheMenuRuleSays) {
    // The element ring: a menu at the screen centre inside a button scaled 0.45.
    const Vec2 positions[6] = {{326.4f, 529.2f}, {768, 529.2f},   {960, 291.6f},
                               {768, 64.8f},     {326.4f, 64.8f}, {153.6f, 291.6f}};
    const Vec2 expected[6] = {{758.4f, 772.2f}, {1200, 772.2f},   {1392, 534.6f},
                              {1200, 307.8f},   {758.4f, 307.8f}, {585.6f, 534.6f}};
    for (int i = 0; i < 6; ++i) {
        auto* button = Sprite::create();
        button->setScale(0.45f);
        button->setPosition(positions[i]);
        auto* item = MenuItemImage::create("none.png", "none.png", nullptr);
        auto* menu = Menu::create(item);
        menu->setPosition(kScreenCentre);
        button->addChild(menu, 1);
        scene->addChild(button);
        expectNear(anchorOnScreen(item), expected[i].x, expected[i].y);
    }
    // A scaled menu away from the centre: position + (960, 540) + scale x (item - (960, 540)).
    auto* item = MenuItemImage::create("none.png", "none.png", nullptr);
    item->setPosition(57.6f, 993.6f);
    auto* menu = Menu::create(item);
    menu->setScale(0.6f);
    menu->setPosition(Vec2::ZERO);
    scene->addChild(menu);
    expectNear(anchorOnScreen(item), 960 + 0.6f * (57.6f - 960), 540 + 0.6f * (993.6f - 540));
}

TEST_F(EngineTest, ChildrenDrawByZOrderThenOrderOfAdding) {
    auto* a = Node::create();
    auto* b = Node::create();
    auto* c = Node::create();
    auto* d = Node::create();
    scene->addChild(a, 5);
    scene->addChild(b, 1);
    scene->addChild(c, 5);
    scene->addChild(d, -1);
    const auto& kids = scene->getChildren();
    ASSERT_EQ(kids.size(), 4u);
    EXPECT_EQ(kids[0], d);
    EXPECT_EQ(kids[1], b);
    EXPECT_EQ(kids[2], a);
    EXPECT_EQ(kids[3], c);
}

TEST_F(EngineTest, TheTreeOwnsItsNodesAndTheFrameDrainsTheRest) {
    const std::size_t before = Ref::liveCount();
    auto* kept = Node::create();
    Node::create(); // nobody keeps this one
    kept->addChild(Sprite::create());
    scene->addChild(kept);
    frames(1);
    EXPECT_EQ(Ref::liveCount(), before + 2);
    EXPECT_EQ(kept->getReferenceCount(), 1u);
    kept->removeFromParentAndCleanup(true);
    frames(1);
    EXPECT_EQ(Ref::liveCount(), before);
}

TEST_F(EngineTest, ShownNeedsEveryAncestorVisible) {
    auto* outer = Node::create();
    auto* inner = Node::create();
    outer->addChild(inner);
    scene->addChild(outer);
    EXPECT_TRUE(inner->isShown());
    outer->setVisible(false);
    EXPECT_TRUE(inner->isVisible());
    EXPECT_FALSE(inner->isShown());
}
