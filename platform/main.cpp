#include "AppDelegate.h"
#include "cocos2d.h"

int main(int, char**) {
    AppDelegate app;
    return cocos2d::Application::getInstance()->run();
}
