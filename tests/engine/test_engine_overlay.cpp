// Notes over the game: drawn above the running scene, outside its tree, keeping real time.
#include "tests/support/EngineFixture.h"

#include "engine/base/Log.h"
#include "engine/graphics/Renderer.h"
#include "engine/scene/Overlay.h"

#include <SDL.h>
#include <algorithm>
#include <string>
#include <vector>

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
    static int litPixelsTopRight(const std::vector<Rect>& keepClear = {}) {
        SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 1920, 1080, 32, SDL_PIXELFORMAT_ARGB8888);
        SDL_Renderer* sdl = SDL_CreateSoftwareRenderer(s);
        Renderer renderer(sdl, 1080);
        Overlay::getInstance()->draw(renderer, Size(1920, 1080), keepClear);
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

TEST_F(OverlayTest, ANoteKeepsClearOfTheButtonsAndNumbersUnderItOrSaysItselfWithoutAFont) {
    Overlay* overlay = Overlay::getInstance();
    overlay->show("volume", "Sound off", Overlay::Place::TopRight, 1.5f);
    // A coin counter in the top-right corner: the note goes to the next free corner.
    EXPECT_EQ(litPixelsTopRight({Rect(1400, 900, 520, 180)}), 0);
    EXPECT_LT(overlay->notes()[0].label->getPositionY(), 540);

    std::vector<std::string> said;
    setLogObserver([&](const std::string& line) { said.push_back(line); });
    overlay->setFont("fonts/no-such-font.ttf", 40);
    overlay->show("saving", "Progress not saved", Overlay::Place::BottomRight);
    overlay->show("saving", "Progress not saved", Overlay::Place::BottomRight);
    setLogObserver({});
    EXPECT_EQ(1, std::count_if(said.begin(), said.end(), [](const std::string& line) {
                  return line.find("Progress not saved") != std::string::npos;
              }));
}

} // namespace
