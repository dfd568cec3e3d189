#include "platform/desktop/Installed.h"

#include "engine/base/FileUtils.h"
#include "engine/window/DesktopIdentity.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {
// The desktop entry's name: windows with this class or app id show its icon and name.
constexpr const char* kAppId = "io.github.doviveduzuz.Doviveduzuz";
// Beside the other games' data, apart from the save folder (share/doviveduzuz), so that
// deleting the saves to start over never deletes the game.
constexpr const char* kDataFolder = "share/games/doviveduzuz";
constexpr int kIconSizes[] = {48, 64, 128, 256};
} // namespace

void Installed::describe() {
    const fs::path programFolder = cocos2d::FileUtils::executableFolder();
    // The program is in PREFIX/games (Debian) or PREFIX/bin.
    const fs::path prefix = programFolder.parent_path();
    cocos2d::FileUtils::getInstance()->setInstalledRoot((prefix / kDataFolder).string());

    // A build tree has its icon theme beside the program; an installed game's is the prefix's.
    std::error_code ec;
    fs::path theme = programFolder / "icons";
    if (!fs::is_directory(theme, ec)) theme = prefix / "share/icons/hicolor";
    std::vector<std::string> icons;
    for (const int size : kIconSizes) {
        const fs::path file = theme / (std::to_string(size) + "x" + std::to_string(size)) / "apps" /
                              (std::string(kAppId) + ".png");
        if (fs::is_regular_file(file, ec)) icons.push_back(file.string());
    }
    cocos2d::DesktopIdentity::set({"Doviveduzuz", kAppId, icons});
}
