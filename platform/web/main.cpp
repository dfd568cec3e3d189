// The browser's entry point: the page calls main once its files are in and Play was pressed.
// Frames go on after main returns, so the delegate must outlive it.
#include "engine/app/cocos2d.h"
#include "engine/audio/SimpleAudioEngine.h"
#include "game/app/AppDelegate.h"

#include <emscripten.h>

int main(int, char**) {
    // The page keeps Escape for the browser (leaving fullscreen): the game never sees it.
    cocos2d::InputMap::getInstance()->setKeptKeys({"Escape"});
    static AppDelegate app;
    return cocos2d::Application::getInstance()->run();
}

// The page wrote files downloaded after the game began (the title's music among them).
extern "C" EMSCRIPTEN_KEEPALIVE void dovi_files_arrived() {
    CocosDenshion::SimpleAudioEngine::filesArrived();
}
