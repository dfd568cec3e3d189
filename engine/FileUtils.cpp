#include "FileUtils.h"

#include "AppIdentity.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace cocos2d {

namespace {
std::string defaultRoot() {
    const std::string variable = AppIdentity::environmentVariable("ASSETS");
    if (const char* env = std::getenv(variable.c_str()); env && *env) return env;
    std::error_code ec;
    // The executable's own folder, so the game finds its assets whatever the working folder.
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty()) return "assets";
    const auto beside = exe.parent_path() / "assets";
    // An installed game keeps them in the shared data folder of its prefix.
    const auto installed = exe.parent_path().parent_path() / "share" / AppIdentity::get().name / "assets";
    if (!std::filesystem::is_directory(beside, ec) && std::filesystem::is_directory(installed, ec))
        return installed.string();
    return beside.string();
}
} // namespace

FileUtils::FileUtils() : _root(defaultRoot()) {}

FileUtils* FileUtils::getInstance() {
    static FileUtils instance;
    return &instance;
}

std::string FileUtils::fullPathForFilename(const std::string& file) const {
    if (file.empty() || file.front() == '/') return file;
    if (_root.empty()) return file;
    if (_root.back() == '/') return _root + file;
    return _root + "/" + file;
}

bool FileUtils::isFileExist(const std::string& file) const {
    std::error_code ec;
    return std::filesystem::is_regular_file(fullPathForFilename(file), ec);
}

} // namespace cocos2d
