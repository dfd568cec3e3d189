#include "engine/app/cocos2d.h"
#include "game/app/AppDelegate.h"
#include "platform/desktop/CommandLine.h"
#include "platform/desktop/Installed.h"

int main(int argc, char** argv) {
    if (const auto status = CommandLine::answer(argc, argv)) return *status;
    // The game's identity first: where its files are looked for reads its own variables.
    AppDelegate app;
    Installed::describe();
    // Without its pictures or its lettering there is no game to show.
    cocos2d::Application::getInstance()->setRequiredFiles(
        {"fonts/PixelMplus10-Regular.ttf", "TitleScene/tutiOne.png"});
    return cocos2d::Application::getInstance()->run();
}
