// Notes over the game: drawn above the running scene, outside its tree, keeping real time.
#include "EngineFixture.h"

#include "Overlay.h"
#include "Renderer.h"

#include <SDL.h>

using namespace cocos2d;

namespace {

class OverlayTest : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        Overlay::getInstance()->setFont("fonts/PixelMplus10-Regular.ttf", 40);
    }
    void TearDown() override {
        Overlay::getInstance()->clear();
        EngineTest::TearDown();
    }
    // How many pixels of the top-right corner are not the background's black.
    static int litPixelsTopRight() {
        SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 1920, 1080, 32, SDL_PIXELFORMAT_ARGB8888);
        SDL_Renderer* sdl = SDL_CreateSoftwareRenderer(s);
        Renderer renderer(sdl, 1080);
        Overlay::getInstance()->draw(renderer, Size(1920, 1080));
        renderer.flush();
        int lit = 0;
        const auto* px = static_cast<const Uint32*>(s->pixels);
        for (int y = 0; y < 200; ++y)
            for (int x = 1400; x < 1920; ++x)
                lit += (px[y * (s->pitch / 4) + x] & 0x00ffffff) > 0x303030 ? 1 : 0;
        SDL_DestroyRenderer(sdl);
        SDL_FreeSurface(s);
        return lit;
    }
};

TEST_F(OverlayTest, ANoteLastsItsSecondsAlsoWhileTheGameIsStopped) {
    Overlay* overlay = Overlay::getInstance();
    overlay->show("volume", "Volume 70 %", Overlay::Place::TopRight, 1.5f);
    Director::getInstance()->stopAnimation();
    frames(60);
    EXPECT_EQ(overlay->textOf("volume"), "Volume 70 %");
    // Shown again, it starts its time afresh with the new text.
    overlay->show("volume", "Volume 80 %", Overlay::Place::TopRight, 1.5f);
    frames(80);
    EXPECT_EQ(overlay->textOf("volume"), "Volume 80 %");
    frames(11);
    EXPECT_EQ(overlay->textOf("volume"), "");
    Director::getInstance()->startAnimation();
    overlay->show("paused", "Paused", Overlay::Place::Centre);
    frames(600);
    EXPECT_EQ(overlay->textOf("paused"), "Paused");
    overlay->hide("paused");
    EXPECT_TRUE(overlay->notes().empty());
}

TEST_F(OverlayTest, NotesAreDrawnButAreNoPartOfTheScene) {
    EXPECT_EQ(litPixelsTopRight(), 0);
    Overlay::getInstance()->show("volume", "Sound off", Overlay::Place::TopRight, 1.5f);
    EXPECT_GT(litPixelsTopRight(), 200);
    EXPECT_EQ(scene->getChildrenCount(), 0u);
}

} // namespace
