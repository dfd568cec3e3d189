#pragma once
// The sounds loaded on an open audio device: music, effects and their pitched copies, each
// file loaded once. A file that fails to load is reported once and not tried again.
#include <SDL_mixer.h>

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace CocosDenshion {

class SoundBank {
  public:
    // The device's own sample format, which every loaded effect is converted to.
    SoundBank(Uint16 format, int channels);
    // Frees every sound: the device must still be open.
    ~SoundBank();
    SoundBank(const SoundBank&) = delete;
    SoundBank& operator=(const SoundBank&) = delete;
    // The bank of the open device, or null.
    static SoundBank* current();

    Mix_Music* loadMusic(const std::string& path);
    Mix_Chunk* loadChunk(const std::string& path);
    // The effect at this pitch: a resampled copy, cached per hundredth of pitch; the recording
    // itself at 1.0 or where it cannot be resampled.
    Mix_Chunk* effectChunk(const std::string& path, float pitch);
    void freeMusic(Mix_Music* track);
    // Files that failed may have been written since: they are tried again when next asked for.
    void forgetFailures() { _failed.clear(); }

    // One warning line per troubled file, for the whole run.
    static void reportOnce(const std::string& path, const char* problem);

  private:
    struct PitchedChunk {
        Mix_Chunk* chunk = nullptr;
        std::unique_ptr<Uint8[]> samples; // Mix_QuickLoad_RAW leaves the memory to us
    };
    Uint16 _format;
    int _channels;
    std::unordered_map<std::string, Mix_Music*> _music;
    std::unordered_map<std::string, Mix_Chunk*> _chunks;
    std::map<std::pair<std::string, int>, PitchedChunk> _pitched;
    std::unordered_set<std::string> _failed;
};

} // namespace CocosDenshion
