#include "engine/app/AppFrame.h"

#include "engine/base/AutoreleasePool.h"
#include "engine/base/PlayerTexts.h"
#include "engine/scene/Director.h"
#include "engine/scene/Overlay.h"
#include "engine/store/UserDefault.h"

namespace cocos2d::AppFrame {

namespace {
// The note that says progress is not being saved, kept in a corner clear of play.
constexpr const char* kSavingNote = "saving";
// The note that a save file was kept aside, shown once when the next scene comes up.
constexpr const char* kKeptAsideNote = "kept aside";
constexpr float kKeptAsideSeconds = 5;
} // namespace

void step(double dt, bool draw) {
    Director* director = Director::getInstance();
    director->mainLoop(dt, draw);
    Overlay* overlay = Overlay::getInstance();
    UserDefault* store = UserDefault::getInstance();
    if (director->takeSceneArrival() && !store->takeKeptAside().empty())
        overlay->show(kKeptAsideNote, PlayerTexts::get().keptAside, Overlay::Place::BottomRight,
                      kKeptAsideSeconds);
    store->endFrame(static_cast<float>(dt));
    const std::string trouble = store->trouble();
    if (trouble.empty())
        overlay->hide(kSavingNote);
    else
        overlay->show(kSavingNote, trouble, Overlay::Place::BottomRight);
    AutoreleasePool::getInstance()->clear();
}

} // namespace cocos2d::AppFrame
