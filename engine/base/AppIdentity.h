#pragma once
// What the engine calls the program it runs. The game hands it over before anything starts;
// the engine itself names no program.
#include <string>

namespace cocos2d {

// The name a player reads, on windows and message boxes, is the desktop's (DesktopIdentity).
struct AppIdentity {
    // The program's file name: its save folder, its lock and the head of its lines on
    // standard error.
    std::string name;
    // The head of the environment switches the engine reads (NAME_ASSETS, NAME_DEBUG).
    std::string environmentPrefix;

    static void set(AppIdentity identity);
    static const AppIdentity& get();
    // The environment switch `suffix` ("ASSETS", "DEBUG"), with this program's head.
    static std::string environmentVariable(const std::string& suffix);
};

} // namespace cocos2d
