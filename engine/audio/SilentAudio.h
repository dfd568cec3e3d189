#pragma once
// Sound without an audio device: nothing plays, but each file is still checked once (a missing
// one is reported as it would be with a device), and the music keeps a state of its own, so
// the game gets the same answers either way.
#include <string>
#include <unordered_set>

namespace CocosDenshion {

class SilentAudio {
  public:
    // False, reported once, for a file missing or unreadable.
    bool checkReadable(const std::string& path);

    void playMusic(const std::string& path);
    void stopMusic() { _music = Music::Stopped; }
    void pauseMusic();
    void resumeMusic();
    bool isMusicPlaying() const { return _music == Music::Playing; }
    void forgetFailures() {
        _failed.clear();
        _checked.clear();
    }

  private:
    enum class Music { Stopped, Playing, Paused } _music = Music::Stopped;
    std::unordered_set<std::string> _checked;
    std::unordered_set<std::string> _failed;
};

} // namespace CocosDenshion
