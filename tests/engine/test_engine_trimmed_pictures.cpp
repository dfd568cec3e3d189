// Pictures with transparent borders: only their visible part is kept and drawn, while the node
// keeps the whole canvas for its size, anchor, hit area and flips; opaque pictures are drawn
// without blending; nothing is drawn outside the view; small pictures sharing a texture batch.
#include "engine/graphics/Picture.h"
#include "engine/graphics/Renderer.h"
#include "engine/graphics/Texture2D.h"
#include "engine/graphics/TextureCache.h"
#include "tests/support/EngineFixture.h"

#include <SDL_image.h>

#include <functional>
#include <vector>

USING_NS_CC;

namespace {

// Ink from (9, 5) to (20, 14) on a 40 x 30 canvas, in a gradient so that any shift shows, with
// one half-transparent pixel.
Uint32 inked(int x, int y) {
    if (x < 9 || x > 20 || y < 5 || y > 14) return 0;
    const Uint32 alpha = x == 12 && y == 7 ? 0x80u : 0xffu;
    return alpha << 24 | static_cast<Uint32>(x * 12) << 16 | static_cast<Uint32>(y * 17) << 8 | 0x40u;
}

// A software renderer drawing into a picture of its own, black to begin with. (Pictures keep
// their upload for the renderer they last met, by address: one canvas serves a whole test.)
struct Canvas {
    explicit Canvas(int size = 64)
        : size(size), target(SDL_CreateRGBSurfaceWithFormat(0, size, size, 32, SDL_PIXELFORMAT_ARGB8888)),
          sdl(SDL_CreateSoftwareRenderer(target)) {
        clear();
    }
    ~Canvas() {
        SDL_DestroyRenderer(sdl);
        SDL_FreeSurface(target);
    }
    void clear() {
        SDL_SetRenderDrawColor(sdl, 0, 0, 0, 255);
        SDL_RenderClear(sdl);
    }
    std::vector<Uint32> pixels() {
        SDL_RenderFlush(sdl);
        const auto* p = static_cast<const Uint32*>(target->pixels);
        return std::vector<Uint32>(p, p + size * size);
    }
    // The node drawn by the engine's renderer, with what it handed to SDL.
    std::vector<CapturedQuad> draw(Node* node) {
        std::vector<CapturedQuad> quads;
        Renderer::setCapture(&quads);
        {
            Renderer renderer(sdl, static_cast<float>(size));
            node->visit(renderer, AffineTransform::IDENTITY, 255, Color3B::WHITE);
        }
        Renderer::setCapture(nullptr);
        return quads;
    }
    int size;
    SDL_Surface* target;
    SDL_Renderer* sdl;
};

// How many pixels differ, and the first of them; empty when none.
std::string differences(const std::vector<Uint32>& expected, const std::vector<Uint32>& actual) {
    std::size_t count = 0, first = 0;
    for (std::size_t i = 0; i < expected.size(); ++i)
        if (expected[i] != actual[i] && count++ == 0) first = i;
    if (count == 0) return "";
    return testing::PrintToString(count) + " pixels differ, first at " + testing::PrintToString(first % 64) +
           ", " + testing::PrintToString(first / 64) + ": " + testing::PrintToString(expected[first]) +
           " drawn as " + testing::PrintToString(actual[first]);
}

class TrimTest : public MediaTest {
  protected:
    void TearDown() override {
        TextureCache::getInstance()->removeAllTextures();
        MediaTest::TearDown();
    }
    std::string paint(const std::string& name, int w, int h, const std::function<Uint32(int, int)>& argb) {
        SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                static_cast<Uint32*>(s->pixels)[y * s->pitch / 4 + x] = argb(x, y);
        IMG_SavePNG(s, (root + "/" + name).c_str());
        SDL_FreeSurface(s);
        return name;
    }
    // The whole picture drawn by plain SDL over the node's whole canvas, as the engine used to
    // (from pixels in the engine's own format, so that SDL blends them alike).
    std::vector<Uint32> drawnWhole(Canvas& canvas, const std::string& file, const Vec2& at, const Size& size,
                                   int flip) {
        canvas.clear();
        SDL_Surface* decoded = IMG_Load((root + "/" + file).c_str());
        SDL_Surface* whole = SDL_ConvertSurfaceFormat(decoded, SDL_PIXELFORMAT_ARGB8888, 0);
        SDL_Texture* texture = SDL_CreateTextureFromSurface(canvas.sdl, whole);
        SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
        const SDL_FRect box{at.x, static_cast<float>(canvas.size) - at.y - size.height, size.width,
                            size.height};
        SDL_RenderCopyExF(canvas.sdl, texture, nullptr, &box, 0, nullptr,
                          static_cast<SDL_RendererFlip>(flip));
        auto pixels = canvas.pixels();
        SDL_DestroyTexture(texture);
        SDL_FreeSurface(whole);
        SDL_FreeSurface(decoded);
        return pixels;
    }
};

} // namespace

TEST_F(TrimTest, OnlyTheInkAndABorderAreKeptWhileTheNodeKeepsItsWholeCanvas) {
    paint("t1.png", 40, 30, inked);
    auto* sprite = Sprite::create("t1.png");
    scene->addChild(sprite);
    sprite->setPosition(100, 100);
    EXPECT_EQ(Size(40, 30), sprite->getContentSize());
    EXPECT_EQ(Vec2::ANCHOR_MIDDLE, sprite->getAnchorPoint());

    const SDL_Rect kept = sprite->getTexture()->visibleRect();
    // Every inked pixel, at least one transparent one around, and no more than the alignment adds.
    EXPECT_LE(kept.x, 8);
    EXPECT_LE(kept.y, 4);
    EXPECT_GE(kept.x + kept.w, 22);
    EXPECT_GE(kept.y + kept.h, 16);
    EXPECT_LE(kept.w * kept.h, 20 * 16);
    EXPECT_FALSE(sprite->getTexture()->isOpaque());

    // A button's hit area is its whole canvas, transparent border and all.
    auto* item = MenuItemImage::create("t1.png", "t1.png", nullptr);
    scene->addChild(item);
    item->setPosition(100, 100);
    EXPECT_EQ(Size(40, 30), item->getContentSize());
    EXPECT_TRUE(item->containsWorldPoint(Vec2(81, 86))); // a transparent corner of the canvas
    EXPECT_TRUE(item->containsWorldPoint(Vec2(119, 114)));
    EXPECT_FALSE(item->containsWorldPoint(Vec2(121, 100)));
}

TEST_F(TrimTest, TheVisiblePartDrawsTheVeryPixelsOfTheWholePictureFlippedOrHalved) {
    paint("t2.png", 40, 30, inked);
    Canvas canvas, plain;
    struct Case {
        float scaleX, scaleY;
        int flip;
    };
    for (const Case c :
         {Case{1, 1, SDL_FLIP_NONE}, Case{-1, 1, SDL_FLIP_HORIZONTAL}, Case{1, -1, SDL_FLIP_VERTICAL},
          Case{-1, -1, SDL_FLIP_HORIZONTAL | SDL_FLIP_VERTICAL}, Case{0.5f, 0.5f, SDL_FLIP_NONE},
          Case{-0.5f, 1.5f, SDL_FLIP_HORIZONTAL}}) {
        SCOPED_TRACE(testing::Message() << "scale " << c.scaleX << " x " << c.scaleY);
        auto* sprite = Sprite::create("t2.png");
        sprite->setPosition(32, 32);
        sprite->setScaleX(c.scaleX);
        sprite->setScaleY(c.scaleY);
        canvas.clear();
        const auto quads = canvas.draw(sprite);
        ASSERT_EQ(1u, quads.size());
        EXPECT_EQ(CapturedQuad::Drawn::Copied, quads[0].drawn);
        EXPECT_EQ(c.flip, quads[0].flip);
        const Size size(40 * std::abs(c.scaleX), 30 * std::abs(c.scaleY));
        EXPECT_EQ("", differences(drawnWhole(plain, "t2.png", Vec2(32 - size.width / 2, 32 - size.height / 2),
                                             size, c.flip),
                                  canvas.pixels()));
    }
}

TEST_F(TrimTest, OpaquePicturesSkipBlendingOnlyWhileTheyAndTheirNodeAreOpaque) {
    paint("opaque.png", 20, 20, [](int x, int y) { return 0xff000000u | static_cast<Uint32>(x * 9 + y); });
    paint("almost.png", 20, 20,
          [](int x, int y) { return (x == 3 && y == 4 ? 0xfe000000u : 0xff000000u) | 0x8080u; });
    auto* opaque = Sprite::create("opaque.png");
    opaque->setPosition(30, 30);
    auto* almost = Sprite::create("almost.png");
    almost->setPosition(30, 30);
    EXPECT_TRUE(opaque->getTexture()->isOpaque());
    EXPECT_FALSE(almost->getTexture()->isOpaque());
    const SDL_Rect whole{0, 0, 20, 20};
    EXPECT_TRUE(SDL_RectEquals(&whole, &opaque->getTexture()->visibleRect()));

    Canvas canvas;
    EXPECT_EQ(SDL_BLENDMODE_NONE, canvas.draw(opaque)[0].blend);
    EXPECT_EQ(SDL_BLENDMODE_BLEND, canvas.draw(almost)[0].blend);
    opaque->setOpacity(254);
    EXPECT_EQ(SDL_BLENDMODE_BLEND, canvas.draw(opaque)[0].blend);
    // Through a parent that passes its opacity on, as menus do.
    opaque->setOpacity(255);
    auto* parent = Node::create();
    parent->setCascadeOpacityEnabled(true);
    parent->setOpacity(100);
    parent->addChild(opaque);
    EXPECT_EQ(SDL_BLENDMODE_BLEND, canvas.draw(parent)[0].blend);
}

TEST_F(TrimTest, NothingIsDrawnForTransparentPicturesOrOutsideTheView) {
    paint("clear.png", 30, 30, [](int, int) { return 0x00ffffffu; });
    paint("t3.png", 40, 30, inked);
    auto* clear = Sprite::create("clear.png");
    clear->setPosition(32, 32);
    EXPECT_EQ(Size(30, 30), clear->getContentSize());
    EXPECT_EQ(0, clear->getTexture()->visibleRect().w);

    auto* sprite = Sprite::create("t3.png");
    Canvas canvas; // 64 x 64
    const std::vector<Uint32> black = canvas.pixels();
    EXPECT_EQ(CapturedQuad::Drawn::Skipped, canvas.draw(clear)[0].drawn);
    // The canvas lies in view but its ink does not: nothing is drawn either.
    sprite->setPosition(80, 20);
    EXPECT_EQ(CapturedQuad::Drawn::Skipped, canvas.draw(sprite)[0].drawn);
    for (const Vec2& away : {Vec2(-21, 20), Vec2(85, 20), Vec2(20, -16), Vec2(20, 80)}) {
        sprite->setPosition(away);
        EXPECT_EQ(CapturedQuad::Drawn::Skipped, canvas.draw(sprite)[0].drawn) << away.x << ", " << away.y;
    }
    EXPECT_EQ(black, canvas.pixels());
    // A sliver in view is drawn.
    sprite->setPosition(5, 20);
    EXPECT_EQ(CapturedQuad::Drawn::Copied, canvas.draw(sprite)[0].drawn);
    EXPECT_NE(black, canvas.pixels());
}

TEST_F(TrimTest, SmallPicturesSharingATextureGoToSdlAsOneBatch) {
    paint("star.png", 8, 8, [](int x, int y) { return x + y < 10 ? 0xffffffffu : 0u; });
    paint("big.png", 600, 600, [](int x, int y) { return x < 590 && y < 590 ? 0xff336699u : 0u; });
    auto* layer = Node::create();
    for (int i = 0; i < 3; ++i) {
        auto* star = Sprite::create("star.png");
        star->setPosition(10.0f + 15.0f * static_cast<float>(i), 10);
        layer->addChild(star);
    }
    Canvas canvas(1024);
    for (const CapturedQuad& q : canvas.draw(layer))
        EXPECT_EQ(CapturedQuad::Drawn::Batched, q.drawn);

    // One alone is copied; so are large ones, even together (SDL's software renderer maps large
    // triangles wrongly).
    auto* lone = Sprite::create("star.png");
    lone->setPosition(10, 10);
    EXPECT_EQ(CapturedQuad::Drawn::Copied, canvas.draw(lone)[0].drawn);
    auto* bigs = Node::create();
    for (int i = 0; i < 2; ++i) {
        auto* big = Sprite::create("big.png");
        big->setPosition(300.0f + 400.0f * static_cast<float>(i), 500);
        bigs->addChild(big);
    }
    for (const CapturedQuad& q : canvas.draw(bigs))
        EXPECT_EQ(CapturedQuad::Drawn::Copied, q.drawn);

    // Turned pictures are triangles whatever their size.
    bigs->setRotation(30);
    for (const CapturedQuad& q : canvas.draw(bigs))
        EXPECT_EQ(CapturedQuad::Drawn::Batched, q.drawn);
}

TEST_F(TrimTest, APicturesSizeComesFromItsHeaderAndItsPixelsFromAWorkerThread) {
    paint("t4.png", 40, 30, inked);
    int w = 0, h = 0;
    ASSERT_TRUE(Picture::readSize(root + "/t4.png", w, h));
    EXPECT_EQ(40, w);
    EXPECT_EQ(30, h);
    EXPECT_FALSE(Picture::readSize(root + "/none.png", w, h));
    // Anything but a PNG is decoded at once, on this thread.
    SDL_Surface* bmp = SDL_CreateRGBSurfaceWithFormat(0, 6, 5, 32, SDL_PIXELFORMAT_ARGB8888);
    SDL_FillRect(bmp, nullptr, 0xff102030);
    SDL_SaveBMP(bmp, (root + "/bitmap.png").c_str());
    SDL_FreeSurface(bmp);
    EXPECT_FALSE(Picture::readSize(root + "/bitmap.png", w, h));
    Texture2D* bitmap = TextureCache::getInstance()->addImage("bitmap.png");
    ASSERT_NE(nullptr, bitmap);
    EXPECT_EQ(Size(6, 5), bitmap->getContentSize());
    EXPECT_TRUE(bitmap->isOpaque());

    Texture2D* texture = TextureCache::getInstance()->addImage("t4.png");
    ASSERT_NE(nullptr, texture);
    EXPECT_EQ(Size(40, 30), texture->getContentSize());
    EXPECT_TRUE(texture->hasPixels());
    EXPECT_GT(texture->visibleRect().w, 0);
    SDL_Surface* canvas = texture->canvasCopy();
    ASSERT_NE(nullptr, canvas);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(inked(x, y), static_cast<Uint32*>(canvas->pixels)[y * canvas->pitch / 4 + x])
                << x << ", " << y;
    SDL_FreeSurface(canvas);
}

TEST_F(TrimTest, PicturesDrawnPixelForPixelAreSampledUnfilteredAndOthersAsTheyWereMade) {
    paint("t5.png", 40, 30, inked);
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    Canvas canvas;
    auto* exact = Sprite::create("t5.png");
    exact->setPosition(20, 15); // the canvas's corner on a whole pixel
    auto* halfway = Sprite::create("t5.png");
    halfway->setPosition(20.5f, 40);
    auto* halved = Sprite::create("t5.png");
    halved->setPosition(40, 40);
    halved->setScale(0.5f);
    EXPECT_EQ(SDL_ScaleModeNearest, canvas.draw(exact)[0].sampling);
    EXPECT_EQ(SDL_ScaleModeLinear, canvas.draw(halfway)[0].sampling);
    EXPECT_EQ(SDL_ScaleModeLinear, canvas.draw(halved)[0].sampling);
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    // The texture is left sampling as it was made.
    SDL_ScaleMode mode = SDL_ScaleModeNearest;
    SDL_GetTextureScaleMode(exact->getTexture()->textureFor(canvas.sdl), &mode);
    EXPECT_EQ(SDL_ScaleModeLinear, mode);

    // Through a scaled view nothing is pixel for pixel.
    SDL_RenderSetLogicalSize(canvas.sdl, 32, 32);
    EXPECT_EQ(SDL_ScaleModeLinear, canvas.draw(exact)[0].sampling);
}
