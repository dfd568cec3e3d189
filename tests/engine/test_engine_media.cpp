// Pictures, frame animation and text: caching, live re-initialising, missing files.
#include "engine/graphics/TextCache.h"
#include "engine/graphics/TextureCache.h"
#include "tests/support/EngineFixture.h"

#include <atomic>

USING_NS_CC;

namespace {
std::vector<std::string> g_log;
struct LogCapture {
    LogCapture() {
        g_log.clear();
        setLogObserver([](const std::string& l) { g_log.push_back(l); });
    }
    ~LogCapture() { setLogObserver(nullptr); }
};
} // namespace

TEST_F(MediaTest, InitWithFileOnALiveSpriteKeepsEverythingButThePicture) {
    picture("m1-a.png", 40, 20);
    picture("m1-b.png", 10, 30);
    auto* s = Sprite::create("m1-a.png");
    scene->addChild(s);
    s->setPosition(5, 6);
    s->setScale(0.3f);
    s->setRotation(12);
    s->setColor(Color3B::RED);
    s->setOpacity(99);
    s->setVisible(false);
    s->runAction(MoveTo::create(10, Vec2(100, 100)));
    EXPECT_EQ(s->getContentSize(), Size(40, 20));
    s->initWithFile("m1-b.png");
    EXPECT_EQ(s->getContentSize(), Size(10, 30));
    EXPECT_EQ(s->getFileName(), "m1-b.png");
    EXPECT_EQ(s->getPosition(), Vec2(5, 6));
    EXPECT_FLOAT_EQ(s->getScale(), 0.3f);
    EXPECT_FLOAT_EQ(s->getRotation(), 12);
    EXPECT_EQ(s->getColor(), Color3B::RED);
    EXPECT_EQ(s->getOpacity(), 99);
    EXPECT_FALSE(s->isVisible());
    EXPECT_EQ(s->getNumberOfRunningActions(), 1u);
}

TEST_F(MediaTest, EachPictureIsReadOnceAndMissingOnesAreLoggedOnce) {
    LogCapture capture;
    picture("m2.png", 8, 8);
    auto* s = Sprite::create("m2.png");
    scene->addChild(s);
    const std::size_t reads = TextureCache::getInstance()->fileReads();
    for (int i = 0; i < 100; ++i)
        s->initWithFile("m2.png");
    EXPECT_EQ(TextureCache::getInstance()->fileReads(), reads);

    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(s->initWithFile("m2-missing.png"));
    EXPECT_EQ(s->getTexture(), nullptr);
    EXPECT_EQ(s->getContentSize(), Size::ZERO);
    ASSERT_EQ(g_log.size(), 1u);
    EXPECT_NE(g_log[0].find("m2-missing.png"), std::string::npos);
}

TEST_F(MediaTest, AnimateShowsEachFrameInTurnAndRestoresTheFirst) {
    picture("m3-0.png", 10, 10);
    picture("m3-1.png", 20, 20);
    picture("m3-2.png", 30, 30);
    auto* s = Sprite::create("m3-0.png");
    scene->addChild(s);
    auto* animation = Animation::create();
    animation->addSpriteFrameWithFileName("m3-1.png");
    animation->addSpriteFrameWithFileName("m3-2.png");
    animation->setDelayPerUnit(0.4f);
    animation->setRestoreOriginalFrame(true);
    s->runAction(RepeatForever::create(Animate::create(animation)));
    frames(1);
    EXPECT_EQ(s->getFileName(), "m3-1.png");
    frames(24);
    EXPECT_EQ(s->getFileName(), "m3-2.png");
    EXPECT_EQ(s->getContentSize(), Size(30, 30));
    frames(24);
    EXPECT_EQ(s->getFileName(), "m3-1.png");

    auto* once = Sprite::create("m3-0.png");
    scene->addChild(once);
    once->runAction(Animate::create(animation));
    frames(48);
    EXPECT_EQ(once->getFileName(), "m3-0.png");
}

class LabelTest : public EngineTest {};

TEST_F(LabelTest, TextIsRenderedOncePerFontSizeAndString) {
    FileUtils::getInstance()->setResourceRoot(DOVI_SOURCE_DIR "/assets");
    auto* label = Label::create();
    scene->addChild(label);
    label->initWithTTF("1", "fonts/PixelMplus10-Regular.ttf", 128, Size::ZERO, TextHAlignment::LEFT,
                       TextVAlignment::TOP);
    label->setString("42");
    const Size size = label->getContentSize();
    const std::size_t renders = TextCache::getInstance()->renders();
    for (int i = 0; i < 50; ++i) {
        label->initWithTTF("1", "fonts/PixelMplus10-Regular.ttf", 128, Size::ZERO, TextHAlignment::LEFT,
                           TextVAlignment::TOP);
        label->setString("42");
    }
    EXPECT_EQ(TextCache::getInstance()->renders(), renders);
    EXPECT_GT(size.width, 0);
    label->setString("4242");
    EXPECT_GT(label->getContentSize().width, size.width);
    EXPECT_FLOAT_EQ(label->getAnchorPoint().x, 0.5f);
}
