#include "AppDelegate.h"
#include "CommandLine.h"
#include "Installed.h"
#include "cocos2d.h"

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
