#include "engine/base/FileUtils.h"

#include "engine/base/AppIdentity.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace cocos2d {

namespace {
const char* namedRoot() {
    const char* env = std::getenv(AppIdentity::environmentVariable("ASSETS").c_str());
    return env && *env ? env : nullptr;
}

std::string besideExecutable() {
    // The executable's own folder, so the game finds its assets whatever the working folder.
    const std::string folder = FileUtils::executableFolder();
    return folder.empty() ? "assets" : (std::filesystem::path(folder) / "assets").string();
}

std::string defaultRoot() {
    if (const char* named = namedRoot()) return named;
    return besideExecutable();
}
} // namespace

std::string FileUtils::executableFolder() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.parent_path().string();
}

void FileUtils::setInstalledRoot(const std::string& root) {
    std::error_code ec;
    if (namedRoot() || std::filesystem::is_directory(besideExecutable(), ec)) return;
    _root = root;
}

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
