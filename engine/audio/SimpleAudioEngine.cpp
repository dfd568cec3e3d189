#include "engine/audio/SimpleAudioEngine.h"

#include "engine/audio/SilentAudio.h"
#include "engine/audio/SoundBank.h"
#include "engine/base/FileUtils.h"
#include "engine/base/Log.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <string>
#include <utility>

namespace CocosDenshion {

namespace {

constexpr int kFrequency = 44100;
constexpr int kChannels = 2;
constexpr int kChunkSize = 1024;
constexpr int kMixChannels = 32;

SimpleAudioEngine* g_instance = nullptr;
bool g_deviceEnabled = true;

float unit(float value) {
    if (!(value >= 0.0f)) return 0.0f; // also NaN
    return std::min(value, 1.0f);
}

int mixVolume(float value) {
    return static_cast<int>(std::lround(unit(value) * MIX_MAX_VOLUME));
}

AudioCall describe(const char* call, const char* file = nullptr) {
    AudioCall described;
    described.call = call;
    if (file) described.file = file;
    return described;
}

std::string resolve(const char* file) {
    return cocos2d::FileUtils::getInstance()->fullPathForFilename(file ? file : "");
}

} // namespace

// With a device, its sounds and what plays; without, the silent stand-in.
struct SimpleAudioEngine::Impl {
    std::unique_ptr<SoundBank> bank;
    SilentAudio silent;
    int channels = 0;
    Mix_Music* current = nullptr;
    // Music asked for before its file was there, and whether it was paused meanwhile.
    std::string waiting;
    bool waitingLoop = false;
    bool paused = false;
    // The volume each channel's sound was started with, before the player's setting, so a
    // change of that setting reaches sounds already playing.
    std::array<float, kMixChannels> channelVolume{};
};

SimpleAudioEngine* SimpleAudioEngine::getInstance() {
    if (!g_instance) g_instance = new SimpleAudioEngine;
    return g_instance;
}

void SimpleAudioEngine::end() {
    delete g_instance;
    g_instance = nullptr;
}

void SimpleAudioEngine::setDeviceEnabled(bool enabled) {
    g_deviceEnabled = enabled;
}

SimpleAudioEngine::SimpleAudioEngine() : _impl(new Impl) {
    if (!g_deviceEnabled) return;

    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        cocos2d::warn("no audio device (%s): playing silently", SDL_GetError());
        return;
    }
    // MP3 support is optional: without it WAV effects still play and MP3 files are reported.
    Mix_Init(MIX_INIT_MP3);
    if (Mix_OpenAudio(kFrequency, AUDIO_S16SYS, kChannels, kChunkSize) != 0) {
        cocos2d::warn("no audio device (%s): playing silently", Mix_GetError());
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return;
    }
    Mix_AllocateChannels(kMixChannels);
    int frequency = 0;
    Uint16 format = 0;
    Mix_QuerySpec(&frequency, &format, &_impl->channels);
    _impl->bank = std::make_unique<SoundBank>(format, _impl->channels);
    Mix_VolumeMusic(mixVolume(deviceMusicVolume()));
    _device = true;
}

SimpleAudioEngine::~SimpleAudioEngine() {
    if (_device) {
        Mix_HaltChannel(-1);
        Mix_HaltMusic();
    }
    delete _impl; // frees every chunk and track while the mixer is still open
    if (_device) {
        Mix_CloseAudio();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

void SimpleAudioEngine::report(AudioCall call) {
    if (!_observer) return;
    // A copy, so an observer may replace itself.
    const auto observer = _observer;
    observer(call);
}

float SimpleAudioEngine::musicFactor() const {
    return _muted ? 0.0f : _masterMusic;
}

float SimpleAudioEngine::effectsFactor() const {
    return _muted ? 0.0f : _masterEffects;
}

float SimpleAudioEngine::deviceMusicVolume() const {
    return _musicVolume * musicFactor();
}

float SimpleAudioEngine::deviceEffectsVolume() const {
    return _effectsVolume * effectsFactor();
}

void SimpleAudioEngine::setMasterVolume(float music, float effects, bool muted) {
    _masterMusic = unit(music);
    _masterEffects = unit(effects);
    _muted = muted;
    AudioCall call = describe("setMasterVolume");
    call.volume = _masterMusic;
    call.effectsVolume = _masterEffects;
    call.muted = _muted;
    call.device = deviceMusicVolume();
    report(std::move(call));
    if (!_device) return;
    Mix_VolumeMusic(mixVolume(deviceMusicVolume()));
    for (std::size_t channel = 0; channel < _impl->channelVolume.size(); ++channel)
        Mix_Volume(static_cast<int>(channel), mixVolume(_impl->channelVolume[channel] * effectsFactor()));
}

void SimpleAudioEngine::preloadBackgroundMusic(const char* file) {
    report(describe("preloadBackgroundMusic", file));
    const std::string path = resolve(file);
    if (_device)
        _impl->bank->loadMusic(path);
    else
        _impl->silent.checkReadable(path);
}

void SimpleAudioEngine::playBackgroundMusic(const char* file, bool loop) {
    AudioCall call = describe("playBackgroundMusic", file);
    call.loop = loop;
    call.device = deviceMusicVolume();
    report(std::move(call));
    const std::string path = resolve(file);
    // Kept until it starts: its file may be written later.
    _impl->waiting = file ? file : "";
    _impl->waitingLoop = loop;
    _impl->paused = false;
    if (!_device) _impl->silent.playMusic(path);
    Mix_Music* track = _device ? _impl->bank->loadMusic(path) : nullptr;
    if (track || _impl->silent.isMusicPlaying()) _musicFile = std::exchange(_impl->waiting, {});
    if (!track) return;
    Mix_VolumeMusic(mixVolume(deviceMusicVolume()));
    if (Mix_PlayMusic(track, loop ? -1 : 1) != 0) {
        SoundBank::reportOnce(path, Mix_GetError());
        return;
    }
    _impl->current = track;
}

void SimpleAudioEngine::stopBackgroundMusic(bool releaseData) {
    report(describe("stopBackgroundMusic"));
    _impl->waiting.clear();
    _impl->silent.stopMusic();
    if (!_device) return;
    Mix_HaltMusic();
    if (releaseData && _impl->current) {
        _impl->bank->freeMusic(_impl->current);
        _impl->current = nullptr;
    }
}

void SimpleAudioEngine::pauseBackgroundMusic() {
    report(describe("pauseBackgroundMusic"));
    _impl->paused = true;
    if (_device)
        Mix_PauseMusic();
    else
        _impl->silent.pauseMusic();
}

void SimpleAudioEngine::holdBackgroundMusic(bool held) {
    if (held) pauseBackgroundMusic();
    _musicHeld = held;
    if (!held) resumeBackgroundMusic();
}

void SimpleAudioEngine::resumeBackgroundMusic() {
    if (_musicHeld) return;
    report(describe("resumeBackgroundMusic"));
    _impl->paused = false;
    if (_device)
        Mix_ResumeMusic();
    else
        _impl->silent.resumeMusic();
}

bool SimpleAudioEngine::isBackgroundMusicPlaying() const {
    if (!_device) return _impl->silent.isMusicPlaying();
    return Mix_PlayingMusic() != 0 && Mix_PausedMusic() == 0;
}

void SimpleAudioEngine::filesArrived() {
    if (!g_instance) return;
    Impl& impl = *g_instance->_impl;
    if (impl.bank) impl.bank->forgetFailures();
    impl.silent.forgetFailures();
    if (impl.waiting.empty()) return;
    const bool paused = impl.paused;
    const std::string file = impl.waiting;
    g_instance->playBackgroundMusic(file.c_str(), impl.waitingLoop);
    if (paused) g_instance->pauseBackgroundMusic();
}

void SimpleAudioEngine::setBackgroundMusicVolume(float volume) {
    _musicVolume = unit(volume);
    AudioCall call = describe("setBackgroundMusicVolume");
    call.volume = volume;
    call.device = deviceMusicVolume();
    report(std::move(call));
    if (_device) Mix_VolumeMusic(mixVolume(deviceMusicVolume()));
}

void SimpleAudioEngine::setEffectsVolume(float volume) {
    _effectsVolume = unit(volume);
    AudioCall call = describe("setEffectsVolume");
    call.volume = volume;
    call.device = deviceEffectsVolume();
    report(std::move(call));
}

void SimpleAudioEngine::preloadEffect(const char* file) {
    report(describe("preloadEffect", file));
    const std::string path = resolve(file);
    if (_device)
        _impl->bank->loadChunk(path);
    else
        _impl->silent.checkReadable(path);
}

unsigned int SimpleAudioEngine::playEffect(const char* file, bool loop, float pitch, float pan, float gain) {
    const float asked = _effectsVolume * unit(gain);
    AudioCall call = describe("playEffect", file);
    call.pitch = pitch;
    call.gain = gain;
    call.loop = loop;
    call.device = asked * effectsFactor();
    report(std::move(call));
    const std::string path = resolve(file);
    if (!_device) {
        _impl->silent.checkReadable(path);
        return 0;
    }
    Mix_Chunk* chunk = _impl->bank->effectChunk(path, pitch);
    if (!chunk) return 0;

    // Pick the channel first so the sound starts at its own volume rather than the last one's.
    const int channel = Mix_GroupAvailable(-1);
    if (channel < 0) return 0; // every channel busy: this sound is dropped
    _impl->channelVolume[static_cast<std::size_t>(channel)] = asked;
    Mix_Volume(channel, mixVolume(asked * effectsFactor()));
    if (_impl->channels == 2) {
        const float p = std::isfinite(pan) ? std::clamp(pan, -1.0f, 1.0f) : 0.0f;
        const auto left = static_cast<Uint8>(std::lround(255.0f * std::min(1.0f, 1.0f - p)));
        const auto right = static_cast<Uint8>(std::lround(255.0f * std::min(1.0f, 1.0f + p)));
        Mix_SetPanning(channel, left, right);
    }
    if (Mix_PlayChannel(channel, chunk, loop ? -1 : 0) < 0) return 0;
    return static_cast<unsigned int>(channel) + 1;
}

void SimpleAudioEngine::stopAllEffects() {
    report(describe("stopAllEffects"));
    if (_device) Mix_HaltChannel(-1);
}

} // namespace CocosDenshion
