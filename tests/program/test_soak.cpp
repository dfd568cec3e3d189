// The soak: a seeded random-input player drives the game through every scene for 100,000
// frames and checks the promises on the way; the checks themselves are shown to catch planted
// faults; and the text cache, whose growth a long run exposed, stays within its bytes.
#include "engine/app/cocos2d.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/graphics/Renderer.h"
#include "engine/graphics/TextCache.h"
#include "engine/graphics/Texture2D.h"
#include "engine/scene/Label.h"
#include "game/figures/BackGround.h"
#include "game/round/ButtonManager.h"
#include "game/round/GameButton.h"
#include "game/round/GameLayer.h"
#include "game/round/GameScene.h"
#include "game/round/TimeSprite.h"
#include "harness/playtest/Playtest.h"
#include "harness/soak/SoakPlayer.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

class SoakTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char dir[] = "/tmp/doviveduzuz-soak-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(dir));
        _home = dir;
        setenv("XDG_DATA_HOME", dir, 1);
    }
    void TearDown() override { std::filesystem::remove_all(_home); }

    // Runs the player; the figures of the run.
    nlohmann::json soak(SoakPlayer::Options options, std::vector<std::string>& faults) {
        Playtest pt;
        SoakPlayer player(pt, std::move(options));
        player.run();
        faults = player.faults();
        return player.figures();
    }
    static bool saw(const std::vector<std::string>& faults, const std::string& kind) {
        for (const std::string& f : faults)
            if (f.find(kind) != std::string::npos) return true;
        return false;
    }

    std::string _home;
};

} // namespace

TEST_F(SoakTest, HundredThousandFramesOfRandomPlayKeepEveryPromise) {
    SoakPlayer::Options options;
    options.seed = 20240601;
    options.frames = 100000;
    std::vector<std::string> faults;
    const nlohmann::json figures = soak(options, faults);
    for (const std::string& f : faults)
        ADD_FAILURE() << f;
    std::cout << figures.dump() << '\n';

    EXPECT_EQ(100000, figures["frames"].get<long long>());
    // It really went everywhere, many times, and looked as it went.
    for (const char* scene : {"title", "shop", "event", "round"}) {
        EXPECT_GE(figures["entries"].value(scene, 0), 5) << scene;
        EXPECT_TRUE(figures["objectsAtEntry"].contains(scene)) << scene;
    }
    EXPECT_GE(figures["stages"].get<long long>(), 50);
    EXPECT_GT(figures["bestScore"].get<int>(), 0) << "no stage was ever won";
    EXPECT_GE(figures["checkpoints"].get<long long>(), 300);
    EXPECT_GT(figures["minimised"].get<long long>(), 0);
    EXPECT_GT(figures["unfocused"].get<long long>(), 0);
    EXPECT_GT(figures["keys"].get<long long>(), 0);
}

TEST_F(SoakTest, EachCheckCatchesItsPlantedFault) {
    // One fault of each kind, each planted where the check looks, in a short run.
    cocos2d::Node* kept = nullptr;
    bool scorePlanted = false, livesPlanted = false, coinsPlanted = false, ringPlanted = false,
         clockPlanted = false;
    GameLayer* scored = nullptr;
    int lastStage = 0;
    std::vector<std::vector<char>> hoard;
    SoakPlayer::Options options;
    options.seed = 99;
    options.frames = 30000;
    options.afterEachFrame = [&](long long frame) {
        cocos2d::Scene* scene = cocos2d::Director::getInstance()->getRunningScene();
        auto* round = dynamic_cast<GameScene*>(scene);
        GameLayer* layer = round ? round->gameLayer : nullptr;
        // A node of the first round kept alive after its scene is gone.
        if (!kept && layer) {
            kept = layer->backGround;
            kept->retain();
        }
        // A score that was already up a frame ago drops back.
        if (layer && layer == scored && layer->score > 0 && !scorePlanted) {
            layer->score = 0;
            scorePlanted = true;
        }
        if (layer && layer->score > 0) scored = layer;
        if (layer && frame > 20000 && !livesPlanted) {
            layer->lives = -1;
            livesPlanted = true;
        }
        // A ring whose second button shows the first one's element while the manager believes
        // otherwise, so it never draws again.
        if (layer && layer->stageCount != lastStage) {
            lastStage = layer->stageCount;
            if (frame > 10000 && !ringPlanted && layer->buttonManager) {
                ButtonManager* ring = layer->buttonManager;
                ring->buttons[1]->kind = ring->buttons[0]->kind;
                ring->buttonKinds[1] = (ring->buttonKinds[0] + 1) % ButtonManager::kButtons;
                ringPlanted = true;
            }
        }
        // A stage clock that ticks on behind another window.
        if (layer && layer->timeSprite && layer->timeSprite->isArmed && frame > 5000 && !clockPlanted &&
            !cocos2d::Director::getInstance()->isAnimating()) {
            --layer->timeSprite->seconds;
            clockPlanted = true;
        }
        if (frame == 25000 && !coinsPlanted) {
            cocos2d::UserDefault::getInstance()->setIntegerForKey("coinScore", -3);
            coinsPlanted = true;
        }
        // Memory that is never given back, a few kilobytes a frame after the first tenth.
        if (frame > 3000) hoard.emplace_back(4096, '\1');
    };
    std::vector<std::string> faults;
    soak(options, faults);
    if (kept) kept->release();

    EXPECT_TRUE(scorePlanted && livesPlanted && coinsPlanted && ringPlanted && clockPlanted)
        << "the run never gave a chance to plant a fault";
    EXPECT_TRUE(saw(faults, "objects on re-entry")) << "a node kept past its scene went unnoticed";
    EXPECT_TRUE(saw(faults, "score fell"));
    EXPECT_TRUE(saw(faults, "lives below zero"));
    EXPECT_TRUE(saw(faults, "negative coins"));
    EXPECT_TRUE(saw(faults, "memory growth"));
    EXPECT_TRUE(saw(faults, "ring not settled"));
    EXPECT_TRUE(saw(faults, "timer moved while away"));
    // What was not planted is not reported.
    EXPECT_FALSE(saw(faults, "tree and stats"));
    EXPECT_FALSE(saw(faults, "sold-out flag"));
}

TEST(SoakTextCache, StaysWithinItsBytesAndKeepsPicturesInUse) {
    cocos2d::TextCache* cache = cocos2d::TextCache::getInstance();
    const std::string font = "fonts/PixelMplus10-Regular.ttf";
    // A label holds the first picture; the cache may drop it, the label may not lose it.
    auto* label = cocos2d::Label::create();
    label->retain();
    label->initWithTTF("HighScore  1", font, 200, cocos2d::Size::ZERO, cocos2d::TextHAlignment::LEFT,
                       cocos2d::TextVAlignment::TOP);
    const cocos2d::Size held = label->getContentSize();
    ASSERT_GT(held.width, 0.0f);

    // Result lines of ever new scores: each picture is a megabyte or more.
    std::size_t largest = 0;
    for (int score = 2; score < 300; ++score) {
        ASSERT_NE(nullptr, cache->render(font, 200, "HighScore  " + std::to_string(score)));
        largest = std::max(largest, cache->bytes());
        EXPECT_LE(cache->size(), 256u);
    }
    EXPECT_LE(largest, std::size_t{16} << 20) << "the cache outgrew its bytes";
    EXPECT_GT(largest, std::size_t{8} << 20) << "the cache kept too little to be of use";

    // The label still draws its own picture, long after the cache let it go.
    SDL_Surface* target = SDL_CreateRGBSurfaceWithFormat(0, 64, 64, 32, SDL_PIXELFORMAT_ARGB8888);
    SDL_Renderer* sdl = SDL_CreateSoftwareRenderer(target);
    ASSERT_NE(nullptr, sdl);
    std::vector<cocos2d::CapturedQuad> quads;
    cocos2d::Renderer::setCapture(&quads);
    {
        cocos2d::Renderer renderer(sdl, 64);
        label->draw(renderer, cocos2d::AffineTransform::IDENTITY, 255, cocos2d::Color3B::WHITE);
        renderer.flush();
    }
    cocos2d::Renderer::setCapture(nullptr);
    ASSERT_EQ(1u, quads.size());
    EXPECT_EQ("HighScore  1", quads[0].texture->getName());
    EXPECT_EQ(held, quads[0].texture->getContentSize());
    SDL_DestroyRenderer(sdl);
    SDL_FreeSurface(target);

    // The newest picture is still cached: asking again renders nothing new.
    const std::size_t renders = cache->renders();
    cache->render(font, 200, "HighScore  299");
    EXPECT_EQ(renders, cache->renders());
    label->release();
    cache->clear();
    EXPECT_EQ(0u, cache->bytes());
    // What a frame's end would do: the pictures handed out this "frame" go now.
    cocos2d::AutoreleasePool::getInstance()->clear();
}
