#include "engine/audio/SilentAudio.h"

#include "engine/audio/SoundBank.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace CocosDenshion {

bool SilentAudio::checkReadable(const std::string& path) {
    if (_failed.count(path)) return false;
    if (!_checked.insert(path).second) return true;
    std::error_code ec;
    std::FILE* file = std::filesystem::is_regular_file(path, ec) ? std::fopen(path.c_str(), "rb") : nullptr;
    if (file) {
        std::fclose(file);
        return true;
    }
    _failed.insert(path);
    SoundBank::reportOnce(path, "missing or unreadable");
    return false;
}

void SilentAudio::playMusic(const std::string& path) {
    _music = checkReadable(path) ? Music::Playing : Music::Stopped;
}

void SilentAudio::pauseMusic() {
    if (_music == Music::Playing) _music = Music::Paused;
}

void SilentAudio::resumeMusic() {
    if (_music == Music::Paused) _music = Music::Playing;
}

} // namespace CocosDenshion
