#pragma once
// What the desktop knows the program by: the name on its windows and message boxes, the id that
// ties its windows to its desktop entry (where Wayland finds the icon), and the icon's pictures.
// The program sets it before Application::run(); the engine has no name of its own.
#include <string>
#include <vector>

namespace cocos2d {

struct DesktopIdentity {
    std::string name;
    std::string appId;
    // PNG pictures of the icon, one per size; the window carries every one that loads.
    std::vector<std::string> iconFiles;

    // Takes effect for displays opened afterwards. The window-class variables in the
    // environment, when set, stand: a player's own choice wins.
    static void set(DesktopIdentity identity);
    static const DesktopIdentity& get();
};

} // namespace cocos2d
