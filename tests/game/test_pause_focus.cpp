// The game's time stands still while its window is out of focus, hidden or minimised, however
// those come and go together; inputs held when the window goes away press nothing; a "Paused"
// note shows over the last picture, which a stopped director draws again only when needed.
#include "engine/app/AppFrame.h"
#include "game/round/ButtonManager.h"
#include "game/round/GameButton.h"
#include "game/round/GameLayer.h"
#include "game/round/TimeSprite.h"
#include "game/shop/UpgradeLayer.h"
#include "tests/support/test_loop_fixture.h"

#include <SDL.h>
#include <SDL_image.h>

using cocos2d::Vec2;

namespace {

class PauseTest : public LoopTest {
  protected:
    void run(const std::string& command) { ASSERT_EQ("ok", pt->execute(command)) << command; }
    GameLayer* round() const { return pt->find<GameLayer>(); }
    int secondsLeft() const { return round()->timeSprite->seconds; }
    std::string pausedNote() const {
        for (const auto& note : pt->notes())
            if (note.value("key", "") == "paused") return note.value("text", "");
        return "";
    }
    // How many times the music was paused and resumed since the last look.
    std::pair<int, int> musicPausesAndResumes() {
        std::pair<int, int> counts;
        for (const auto& s : pt->sounds()) {
            counts.first += s.value("call", "") == "pauseBackgroundMusic";
            counts.second += s.value("call", "") == "resumeBackgroundMusic";
        }
        return counts;
    }
    // A round at time level 2: its first stage has 12 seconds.
    void startRound() {
        run("open game 0 2 0");
        seconds(1);
        pt->sounds();
    }
    static std::string at(const Vec2& p) { return " " + std::to_string(p.x) + " " + std::to_string(p.y); }
};

TEST_F(PauseTest, FocusLostMidStageStopsTheClockAndTheMusicUntilItComesBack) {
    startRound();
    const int left = secondsLeft();
    run("focus out");
    EXPECT_EQ(std::make_pair(1, 0), musicPausesAndResumes());
    EXPECT_EQ("Paused", pausedNote());
    // Behind another window for longer than the whole stage: nothing moves.
    seconds(20);
    ASSERT_NE(nullptr, round()->timeSprite) << "the stage ended unseen";
    EXPECT_EQ(left, secondsLeft());
    EXPECT_EQ(1, round()->stageCount);

    run("focus in");
    EXPECT_EQ(std::make_pair(0, 1), musicPausesAndResumes());
    EXPECT_EQ("", pausedNote());
    seconds(2);
    EXPECT_EQ(left - 2, secondsLeft()) << "the clock goes on from where it stopped";
}

TEST_F(PauseTest, MinimisedAndUnfocusedTogetherIsOnePauseOverOnlyWhenBothAreOver) {
    // The order a desktop sends them in varies; every order gives one pause and one resume.
    const std::vector<std::vector<std::string>> orders = {
        {"focus out", "minimize", "focus in", "restore"},
        {"focus out", "minimize", "restore", "focus in"},
        {"minimize", "focus out", "restore", "focus in"},
        {"minimize", "focus out", "focus in", "restore"},
    };
    for (const auto& order : orders) {
        SCOPED_TRACE(order[0] + ", " + order[1] + ", " + order[2] + ", " + order[3]);
        startRound();
        const int left = secondsLeft();
        for (std::size_t i = 0; i < order.size(); ++i) {
            run(order[i]);
            seconds(3);
            const bool last = i + 1 == order.size();
            EXPECT_EQ(last ? "" : "Paused", pausedNote()) << "after " << order[i];
            if (!last) {
                EXPECT_EQ(left, secondsLeft()) << "the clock moved after " << order[i];
            }
        }
        EXPECT_EQ(std::make_pair(1, 1), musicPausesAndResumes());
        EXPECT_EQ(left - 3, secondsLeft());
    }
}

TEST_F(PauseTest, AKeyHeldAsTheFocusGoesBuysNothing) {
    run("open shop 500");
    seconds(0.1);
    // The desktop lets go of the key as it takes the focus away, in the same breath.
    run("key T down");
    run("focus out");
    seconds(1);
    run("focus in");
    run("key T up");
    seconds(0.1);
    EXPECT_EQ(0, intKey("timeNo"));
    EXPECT_EQ(500, intKey("coinScore"));
    // The same key pressed and let go with the focus kept does buy: the check can fail.
    run("key T");
    seconds(0.1);
    EXPECT_EQ(1, intKey("timeNo"));
    EXPECT_EQ(495, intKey("coinScore"));
}

TEST_F(PauseTest, AFingerOrDpadHeldAsTheWindowGoesPressesNothing) {
    run("open game 0 2 0");
    seconds(1);
    ButtonManager* ring = round()->buttonManager;
    ASSERT_NE(nullptr, ring);
    const cocos2d::Node* item = ring->buttons[0]->getChildren().back()->getChildren().front();
    const Vec2 button =
        item->convertToWorldSpace(Vec2(item->getContentSize().width / 2, item->getContentSize().height / 2));
    for (const char* away : {"focus out", "minimize"}) {
        SCOPED_TRACE(away);
        const bool focus = std::string(away) == "focus out";
        run("finger 1 down" + at(button));
        run(away);
        seconds(0.5);
        run(focus ? "focus in" : "restore");
        run("finger 1 up" + at(button));
        seconds(0.1);
        EXPECT_EQ(0, ring->pressCount) << "a finger lifted after the pause pressed";
    }
    // The D-pad waits a moment for a diagonal; a pause in that moment cancels it.
    run("pad attach 0");
    run("pad button 0 dpleft down");
    run("focus out");
    run("focus in");
    run("pad button 0 dpleft up");
    seconds(0.1);
    EXPECT_EQ(0, ring->pressCount);
    // Control: the same inputs with the focus kept do press.
    run("pad button 0 dpleft down");
    seconds(0.1);
    run("pad button 0 dpleft up");
    run("finger 2 down" + at(button));
    run("finger 2 up" + at(button));
    seconds(0.1);
    run("pad detach 0");
    EXPECT_EQ(2, ring->pressCount);
}

// The mean brightness of the middle of a shot, where the "Paused" note sits.
double middleBrightness(const std::string& file) {
    SDL_Surface* loaded = IMG_Load(file.c_str());
    if (!loaded) return -1;
    SDL_Surface* s = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(loaded);
    double sum = 0;
    int n = 0;
    const auto* px = static_cast<const Uint32*>(s->pixels);
    for (int y = s->h / 2 - 20; y < s->h / 2 + 20; ++y)
        for (int x = s->w / 2 - 60; x < s->w / 2 + 60; ++x, ++n) {
            const Uint32 p = px[y * (s->pitch / 4) + x];
            sum += ((p >> 16) & 0xff) + ((p >> 8) & 0xff) + (p & 0xff);
        }
    SDL_FreeSurface(s);
    return sum / n;
}

TEST_F(PauseTest, PressesWhileUnfocusedAreIgnoredAndTheNoteIsOnThePicture) {
    run("open shop 500");
    seconds(0.1);
    run("focus out");
    run("key T");
    run("key L");
    run("pad attach 0");
    run("pad button 0 leftshoulder down");
    run("pad button 0 leftshoulder up");
    run("pad detach 0");
    seconds(0.1);
    EXPECT_EQ(500, intKey("coinScore"));
    EXPECT_EQ(0, intKey("timeNo"));
    // Nothing moves while paused, so two shots differ only by the note's dark plate.
    run("shot " + dataHome + "/paused.png");
    run("focus in");
    run("shot " + dataHome + "/playing.png");
    const double paused = middleBrightness(dataHome + "/paused.png");
    const double playing = middleBrightness(dataHome + "/playing.png");
    ASSERT_GE(paused, 0);
    EXPECT_LT(paused, playing * 0.8) << "no note over the picture";
}

// A real window (on SDL's dummy driver): a stopped director does not draw every frame, only when
// a note over the picture changes or the window has lost it; and the window keeps to its limits.
class WindowTest : public ::testing::Test {
  protected:
    struct Counter : cocos2d::Node {
        int draws = 0;
        void draw(cocos2d::Renderer&, const cocos2d::AffineTransform&, uint8_t,
                  const cocos2d::Color3B&) override {
            ++draws;
        }
    };
    void SetUp() override {
        view = cocos2d::GLViewImpl::create("stopped");
        ASSERT_NE(nullptr, view) << "the dummy video driver opens windows";
        auto* director = cocos2d::Director::getInstance();
        director->setOpenGLView(view);
        auto* scene = cocos2d::Scene::create();
        counter = new Counter();
        counter->autorelease();
        scene->addChild(counter);
        director->runWithScene(scene);
        cocos2d::Overlay::getInstance()->setFont("fonts/PixelMplus10-Regular.ttf", 40);
    }
    void TearDown() override {
        auto* director = cocos2d::Director::getInstance();
        cocos2d::Overlay::getInstance()->clear();
        director->reset();
        director->setOpenGLView(nullptr);
    }
    void frames(int n) {
        for (int i = 0; i < n; ++i)
            cocos2d::AppFrame::step(1.0 / 60);
    }
    cocos2d::GLView* view = nullptr;
    Counter* counter = nullptr;
};

TEST_F(WindowTest, DrawsOnlyWhenANoteChangesOrTheWindowAsks) {
    auto* director = cocos2d::Director::getInstance();
    frames(3);
    EXPECT_EQ(3, counter->draws);
    director->stopAnimation();
    cocos2d::Overlay::getInstance()->show("paused", "Paused", cocos2d::Overlay::Place::Centre);
    frames(60);
    EXPECT_EQ(4, counter->draws) << "the note is drawn over the last picture once";
    director->redraw();
    frames(60);
    EXPECT_EQ(5, counter->draws) << "uncovered, the window gets its picture back";
    // A note that runs out while stopped takes its picture with it.
    cocos2d::Overlay::getInstance()->show("volume", "Volume 70 %", cocos2d::Overlay::Place::TopRight, 0.5f);
    frames(60);
    EXPECT_EQ(7, counter->draws);
    director->startAnimation();
    frames(10);
    EXPECT_EQ(17, counter->draws);
}

TEST_F(WindowTest, TheWindowTellsTheDesktopItsSizeLimits) {
    SDL_Window* window = view->getWindow();
    int w = 0, h = 0;
    SDL_GetWindowMinimumSize(window, &w, &h);
    EXPECT_EQ(480, w);
    EXPECT_EQ(270, h);
    SDL_GetWindowMaximumSize(window, &w, &h);
    EXPECT_EQ(7680, w);
    EXPECT_EQ(4320, h);
    int before[2] = {};
    SDL_GetWindowSize(window, &before[0], &before[1]);
    view->keepSizeWithinLimits();
    SDL_GetWindowSize(window, &w, &h);
    EXPECT_EQ(before[0], w) << "a window within its limits is left as it is";
    EXPECT_EQ(before[1], h);
}

} // namespace
