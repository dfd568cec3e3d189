// A picture read from a file keeps its decoded pixels only until a renderer has its own copy,
// and another renderer still gets the same picture.
#include "engine/graphics/TextCache.h"
#include "engine/graphics/Texture2D.h"
#include "engine/graphics/TextureCache.h"
#include "tests/support/EngineFixture.h"

#include <cstdio>
#include <vector>

USING_NS_CC;

namespace {

// A software renderer drawing into a picture of its own.
struct Canvas {
    SDL_Surface* target = SDL_CreateRGBSurfaceWithFormat(0, 16, 16, 32, SDL_PIXELFORMAT_ARGB8888);
    SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(target);
    ~Canvas() {
        SDL_DestroyRenderer(renderer);
        SDL_FreeSurface(target);
    }
    std::vector<Uint32> draw(SDL_Texture* texture) {
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
        SDL_RenderCopy(renderer, texture, nullptr, nullptr);
        SDL_RenderFlush(renderer);
        const auto* pixels = static_cast<const Uint32*>(target->pixels);
        return std::vector<Uint32>(pixels, pixels + 16 * 16);
    }
};

// Declared after the canvases, so that the cached pictures, and their renderer copies, go
// before the renderers do.
struct DropCachedPictures {
    ~DropCachedPictures() {
        TextureCache::getInstance()->removeAllTextures();
        TextCache::getInstance()->clear();
    }
};

} // namespace

TEST_F(MediaTest, FilePicturesDropTheirPixelsOnceUploadedAndReadTheFileForANewRenderer) {
    Canvas first, second;
    DropCachedPictures drop;
    picture("tm1.png", 16, 16, 0xff20a040);
    Texture2D* texture = TextureCache::getInstance()->addImage("tm1.png");
    ASSERT_NE(nullptr, texture);
    EXPECT_TRUE(texture->hasPixels()) << "nothing has drawn it yet";

    SDL_Texture* uploaded = texture->textureFor(first.renderer);
    ASSERT_NE(nullptr, uploaded);
    EXPECT_FALSE(texture->hasPixels()) << "the pixels are kept twice";
    const std::size_t reads = FileUtils::getInstance()->fileReads();
    EXPECT_EQ(uploaded, texture->textureFor(first.renderer)) << "the same renderer got a new copy";
    EXPECT_EQ(reads, FileUtils::getInstance()->fileReads());
    const auto seenFirst = first.draw(uploaded);
    EXPECT_EQ(0xff20a040u, seenFirst[0]);

    SDL_Texture* again = texture->textureFor(second.renderer);
    ASSERT_NE(nullptr, again);
    EXPECT_EQ(reads + 1, FileUtils::getInstance()->fileReads()) << "the file is read again, and counted";
    EXPECT_EQ(seenFirst, second.draw(again));
    EXPECT_EQ(Size(16, 16), texture->getContentSize());
}

TEST_F(MediaTest, RenderedTextKeepsItsPixelsSinceThereIsNoFileToReadAgain) {
    Canvas first, second;
    DropCachedPictures drop;
    FileUtils::getInstance()->setResourceRoot(DOVI_SOURCE_DIR "/assets");
    Texture2D* text = TextCache::getInstance()->render("fonts/PixelMplus10-Regular.ttf", 32, "42");
    ASSERT_NE(nullptr, text);
    SDL_Texture* uploaded = text->textureFor(first.renderer);
    ASSERT_NE(nullptr, uploaded);
    EXPECT_TRUE(text->hasPixels());
    const auto seenFirst = first.draw(uploaded);
    EXPECT_NE(std::vector<Uint32>(seenFirst.size(), 0xff000000u), seenFirst) << "the text drew nothing";
    SDL_Texture* again = text->textureFor(second.renderer);
    ASSERT_NE(nullptr, again);
    EXPECT_EQ(seenFirst, second.draw(again));
}

TEST_F(MediaTest, APictureGoneFromDiskBeforeANewRendererIsLoggedAndNotDrawn) {
    Canvas first, second;
    DropCachedPictures drop;
    static std::vector<std::string> lines;
    lines.clear();
    setLogObserver([](const std::string& l) { lines.push_back(l); });
    picture("tm3.png", 8, 8);
    Texture2D* texture = TextureCache::getInstance()->addImage("tm3.png");
    ASSERT_NE(nullptr, texture);
    ASSERT_NE(nullptr, texture->textureFor(first.renderer));
    std::remove((root + "/tm3.png").c_str());
    EXPECT_EQ(nullptr, texture->textureFor(second.renderer));
    setLogObserver(nullptr);
    ASSERT_EQ(1u, lines.size());
    EXPECT_NE(std::string::npos, lines[0].find("tm3.png"));
}
