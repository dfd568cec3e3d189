#pragma once
// Background music and sound effects on SDL_mixer. Without an audio device everything
// still works, silently. Every call is reported to an observer, for tools and tests.
#include <functional>
#include <string>

namespace CocosDenshion {

struct AudioCall {
    std::string call; // "playEffect", "playBackgroundMusic", "stopBackgroundMusic", ...
    std::string file;
    float pitch = 1.0f;
    float gain = 1.0f;
    bool loop = false;
    float volume = 0.0f; // for the volume calls
    // What the device gets: the music's or this effect's volume after the player's own setting.
    float device = 0.0f;
    // For setMasterVolume: `volume` is the music's, this the effects'.
    float effectsVolume = 0.0f;
    bool muted = false;
};

class SimpleAudioEngine {
  public:
    static SimpleAudioEngine* getInstance();
    // Closes the device and frees every sound.
    static void end();
    // Before the first getInstance(): false keeps the engine silent without trying a device.
    static void setDeviceEnabled(bool enabled);

    void preloadBackgroundMusic(const char* file);
    void playBackgroundMusic(const char* file, bool loop = false);
    void stopBackgroundMusic(bool releaseData = false);
    void pauseBackgroundMusic();
    void resumeBackgroundMusic();
    bool isBackgroundMusicPlaying() const;
    // Held, the music stays paused whatever asks it to resume (the window coming back), until
    // released.
    void holdBackgroundMusic(bool held);
    float getBackgroundMusicVolume() const { return _musicVolume; }
    void setBackgroundMusicVolume(float volume);

    float getEffectsVolume() const { return _effectsVolume; }
    void setEffectsVolume(float volume);
    void preloadEffect(const char* file);
    // Pitch 1.0 plays the sound as recorded; higher plays it higher (and shorter).
    unsigned int playEffect(const char* file, bool loop = false, float pitch = 1.0f, float pan = 0.0f,
                            float gain = 1.0f);
    void stopAllEffects();

    // The player's own setting over every volume the game asks for, one for the music and one
    // for the effects: the device gets the product, so the game's volumes keep their ratios.
    // Muted silences both and keeps the levels to come back to. Sounds already playing follow
    // at once.
    void setMasterVolume(float music, float effects, bool muted);
    void setMasterVolume(float volume, bool muted = false) { setMasterVolume(volume, volume, muted); }
    float getMasterVolume() const { return _masterMusic; }
    float getMasterEffectsVolume() const { return _masterEffects; }
    bool isMuted() const { return _muted; }
    float deviceMusicVolume() const;
    float deviceEffectsVolume() const;

    void setObserver(std::function<void(const AudioCall&)> observer) { _observer = std::move(observer); }
    bool hasDevice() const { return _device; }
    // The music last started, whether or not it still plays.
    const std::string& musicFile() const { return _musicFile; }
    // Files written since the game began (the page downloads some after it starts): sounds that
    // could not be loaded are tried again, and music asked for while its file was missing
    // starts now. Nothing before the first getInstance().
    static void filesArrived();

  private:
    SimpleAudioEngine();
    ~SimpleAudioEngine();
    void report(AudioCall call);
    float musicFactor() const;
    float effectsFactor() const;

    std::function<void(const AudioCall&)> _observer;
    float _musicVolume = 1.0f;
    float _effectsVolume = 1.0f;
    float _masterMusic = 1.0f;
    float _masterEffects = 1.0f;
    bool _muted = false;
    bool _device = false;
    bool _musicHeld = false;
    std::string _musicFile;
    struct Impl;
    Impl* _impl = nullptr;
};

} // namespace CocosDenshion
