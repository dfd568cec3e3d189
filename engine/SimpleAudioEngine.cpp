#include "SimpleAudioEngine.h"

#include "FileUtils.h"
#include "Log.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <system_error>
#include <type_traits>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace CocosDenshion {

namespace {

constexpr int kFrequency = 44100;
constexpr int kChannels = 2;
constexpr int kChunkSize = 1024;
constexpr int kMixChannels = 32;
// Beyond these a pitched copy is either useless or needlessly large.
constexpr float kMinPitch = 0.1f;
constexpr float kMaxPitch = 10.0f;

SimpleAudioEngine* g_instance = nullptr;
bool g_deviceEnabled = true;
// Sounds already reported as unusable; kept across end() so each is reported once per run.
std::unordered_set<std::string> g_reported;

float unit(float value) {
    if (!(value >= 0.0f)) return 0.0f; // also NaN
    return std::min(value, 1.0f);
}

int mixVolume(float value) {
    return static_cast<int>(std::lround(unit(value) * MIX_MAX_VOLUME));
}

void reportOnce(const std::string& path, const char* problem) {
    if (g_reported.insert(path).second) cocos2d::warn("audio: %s: %s", path.c_str(), problem);
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

template <typename T> T loadSample(const Uint8* at) {
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

template <typename T> void storeSample(Uint8* at, double value) {
    T sample;
    if constexpr (std::is_floating_point_v<T>) {
        sample = static_cast<T>(value);
    } else {
        const double low = static_cast<double>(std::numeric_limits<T>::min());
        const double high = static_cast<double>(std::numeric_limits<T>::max());
        sample = static_cast<T>(std::clamp(std::round(value), low, high));
    }
    std::memcpy(at, &sample, sizeof sample);
}

// Linear interpolation: output frame i takes the input at position i * step.
template <typename T>
void resample(const Uint8* in, std::size_t inFrames, Uint8* out, std::size_t outFrames, int channels,
              double step) {
    const std::size_t frameBytes = sizeof(T) * static_cast<std::size_t>(channels);
    for (std::size_t i = 0; i < outFrames; ++i) {
        const double position = static_cast<double>(i) * step;
        const std::size_t i0 = std::min(static_cast<std::size_t>(position), inFrames - 1);
        const std::size_t i1 = std::min(i0 + 1, inFrames - 1);
        const double frac = position - static_cast<double>(i0);
        for (int c = 0; c < channels; ++c) {
            const std::size_t offset = sizeof(T) * static_cast<std::size_t>(c);
            const double a = static_cast<double>(loadSample<T>(in + i0 * frameBytes + offset));
            const double b = static_cast<double>(loadSample<T>(in + i1 * frameBytes + offset));
            storeSample<T>(out + i * frameBytes + offset, a + (b - a) * frac);
        }
    }
}

using Resampler = void (*)(const Uint8*, std::size_t, Uint8*, std::size_t, int, double);

Resampler resamplerFor(Uint16 format) {
    switch (format) {
    case AUDIO_U8:
        return resample<Uint8>;
    case AUDIO_S8:
        return resample<Sint8>;
    case AUDIO_S16SYS:
        return resample<Sint16>;
    case AUDIO_U16SYS:
        return resample<Uint16>;
    case AUDIO_S32SYS:
        return resample<Sint32>;
    case AUDIO_F32SYS:
        return resample<float>;
    default:
        return nullptr; // byte-swapped formats: played unpitched
    }
}

struct PitchedChunk {
    Mix_Chunk* chunk = nullptr;
    std::unique_ptr<Uint8[]> samples; // Mix_QuickLoad_RAW leaves the memory to us
};

// The engine's sounds and device state, reachable from the test hook below as well.
struct Mixer {
    bool device = false;
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;

    std::unordered_map<std::string, Mix_Music*> music;
    std::unordered_map<std::string, Mix_Chunk*> chunks;
    std::map<std::pair<std::string, int>, PitchedChunk> pitched;
    // Files that failed to load: not tried again every frame.
    std::unordered_set<std::string> failed;
    // Without a device: files whose presence was already checked.
    std::unordered_set<std::string> checked;

    // Music state without a device, so the game sees the same answers either way.
    enum class Silent { Stopped, Playing, Paused } silentMusic = Silent::Stopped;
    Mix_Music* current = nullptr;
    // The volume each channel's sound was started with, before the player's setting, so a
    // change of that setting reaches sounds already playing.
    std::array<float, kMixChannels> channelVolume{};

    ~Mixer() {
        for (auto& [key, entry] : pitched)
            Mix_FreeChunk(entry.chunk);
        for (auto& [path, chunk] : chunks)
            Mix_FreeChunk(chunk);
        for (auto& [path, track] : music)
            Mix_FreeMusic(track);
    }

    bool checkReadable(const std::string& path) {
        if (failed.count(path)) return false;
        if (!checked.insert(path).second) return true;
        std::error_code ec;
        std::FILE* file =
            std::filesystem::is_regular_file(path, ec) ? std::fopen(path.c_str(), "rb") : nullptr;
        if (file) {
            std::fclose(file);
            return true;
        }
        failed.insert(path);
        reportOnce(path, "missing or unreadable");
        return false;
    }

    Mix_Music* loadMusic(const std::string& path) {
        if (auto it = music.find(path); it != music.end()) return it->second;
        if (failed.count(path)) return nullptr;
        Mix_Music* track = Mix_LoadMUS(path.c_str());
        if (!track) {
            failed.insert(path);
            reportOnce(path, Mix_GetError());
            return nullptr;
        }
        music.emplace(path, track);
        return track;
    }

    Mix_Chunk* loadChunk(const std::string& path) {
        if (auto it = chunks.find(path); it != chunks.end()) return it->second;
        if (failed.count(path)) return nullptr;
        Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
        if (!chunk) {
            failed.insert(path);
            reportOnce(path, Mix_GetError());
            return nullptr;
        }
        chunks.emplace(path, chunk);
        return chunk;
    }

    Mix_Chunk* effectChunk(const std::string& path, float pitch) {
        Mix_Chunk* base = loadChunk(path);
        if (!base) return nullptr;
        if (!std::isfinite(pitch)) pitch = 1.0f;
        const int key = static_cast<int>(std::lround(std::clamp(pitch, kMinPitch, kMaxPitch) * 100.0f));
        if (key == 100) return base;
        if (auto it = pitched.find({path, key}); it != pitched.end()) return it->second.chunk;

        const Resampler resampler = resamplerFor(format);
        const std::size_t frameBytes = static_cast<std::size_t>(SDL_AUDIO_BITSIZE(format) / 8 * channels);
        const std::size_t inFrames = frameBytes ? base->alen / frameBytes : 0;
        if (!resampler || inFrames == 0) return base;
        const double step = key / 100.0;
        const auto outFrames =
            std::max<std::size_t>(1, static_cast<std::size_t>(static_cast<double>(inFrames) / step));
        const std::size_t outBytes = outFrames * frameBytes;
        if (outBytes > UINT32_MAX) return base;

        PitchedChunk entry;
        entry.samples = std::make_unique<Uint8[]>(outBytes);
        resampler(base->abuf, inFrames, entry.samples.get(), outFrames, channels, step);
        entry.chunk = Mix_QuickLoad_RAW(entry.samples.get(), static_cast<Uint32>(outBytes));
        if (!entry.chunk) return base;
        entry.chunk->volume = base->volume;
        Mix_Chunk* chunk = entry.chunk;
        pitched.emplace(std::make_pair(path, key), std::move(entry));
        return chunk;
    }
};

Mixer* g_mixer = nullptr;

} // namespace

struct SimpleAudioEngine::Impl : Mixer {};

namespace testing {
// The chunk playEffect would play for this file and pitch, for tests; null without a device.
const Mix_Chunk* effectChunkForPitch(const char* file, float pitch);
} // namespace testing

const Mix_Chunk* testing::effectChunkForPitch(const char* file, float pitch) {
    if (!g_mixer || !g_mixer->device || !file) return nullptr;
    return g_mixer->effectChunk(resolve(file), pitch);
}

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
    g_mixer = _impl;
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
    Mix_QuerySpec(&_impl->frequency, &_impl->format, &_impl->channels);
    Mix_VolumeMusic(mixVolume(deviceMusicVolume()));
    _device = true;
    _impl->device = true;
}

SimpleAudioEngine::~SimpleAudioEngine() {
    if (_device) {
        Mix_HaltChannel(-1);
        Mix_HaltMusic();
    }
    delete _impl; // frees every chunk and track while the mixer is still open
    g_mixer = nullptr;
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

float SimpleAudioEngine::masterFactor() const {
    return _muted ? 0.0f : _masterVolume;
}

float SimpleAudioEngine::deviceMusicVolume() const {
    return _musicVolume * masterFactor();
}

float SimpleAudioEngine::deviceEffectsVolume() const {
    return _effectsVolume * masterFactor();
}

void SimpleAudioEngine::setMasterVolume(float volume, bool muted) {
    _masterVolume = unit(volume);
    _muted = muted;
    AudioCall call = describe("setMasterVolume");
    call.volume = _masterVolume;
    call.muted = _muted;
    call.device = deviceMusicVolume();
    report(std::move(call));
    if (!_device) return;
    Mix_VolumeMusic(mixVolume(deviceMusicVolume()));
    for (std::size_t channel = 0; channel < _impl->channelVolume.size(); ++channel)
        Mix_Volume(static_cast<int>(channel), mixVolume(_impl->channelVolume[channel] * masterFactor()));
}

void SimpleAudioEngine::preloadBackgroundMusic(const char* file) {
    report(describe("preloadBackgroundMusic", file));
    const std::string path = resolve(file);
    if (_device)
        _impl->loadMusic(path);
    else
        _impl->checkReadable(path);
}

void SimpleAudioEngine::playBackgroundMusic(const char* file, bool loop) {
    AudioCall call = describe("playBackgroundMusic", file);
    call.loop = loop;
    call.device = deviceMusicVolume();
    report(std::move(call));
    const std::string path = resolve(file);
    if (!_device) {
        _impl->silentMusic = _impl->checkReadable(path) ? Mixer::Silent::Playing : Mixer::Silent::Stopped;
        return;
    }
    Mix_Music* track = _impl->loadMusic(path);
    if (!track) return;
    Mix_VolumeMusic(mixVolume(deviceMusicVolume()));
    if (Mix_PlayMusic(track, loop ? -1 : 1) != 0) {
        reportOnce(path, Mix_GetError());
        return;
    }
    _impl->current = track;
}

void SimpleAudioEngine::stopBackgroundMusic(bool releaseData) {
    report(describe("stopBackgroundMusic"));
    _impl->silentMusic = Mixer::Silent::Stopped;
    if (!_device) return;
    Mix_HaltMusic();
    if (releaseData && _impl->current) {
        for (auto it = _impl->music.begin(); it != _impl->music.end(); ++it) {
            if (it->second == _impl->current) {
                Mix_FreeMusic(it->second);
                _impl->music.erase(it);
                break;
            }
        }
        _impl->current = nullptr;
    }
}

void SimpleAudioEngine::pauseBackgroundMusic() {
    report(describe("pauseBackgroundMusic"));
    if (_device)
        Mix_PauseMusic();
    else if (_impl->silentMusic == Mixer::Silent::Playing)
        _impl->silentMusic = Mixer::Silent::Paused;
}

void SimpleAudioEngine::holdBackgroundMusic(bool held) {
    if (held) pauseBackgroundMusic();
    _musicHeld = held;
    if (!held) resumeBackgroundMusic();
}

void SimpleAudioEngine::resumeBackgroundMusic() {
    if (_musicHeld) return;
    report(describe("resumeBackgroundMusic"));
    if (_device)
        Mix_ResumeMusic();
    else if (_impl->silentMusic == Mixer::Silent::Paused)
        _impl->silentMusic = Mixer::Silent::Playing;
}

bool SimpleAudioEngine::isBackgroundMusicPlaying() const {
    if (!_device) return _impl->silentMusic == Mixer::Silent::Playing;
    return Mix_PlayingMusic() != 0 && Mix_PausedMusic() == 0;
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
        _impl->loadChunk(path);
    else
        _impl->checkReadable(path);
}

unsigned int SimpleAudioEngine::playEffect(const char* file, bool loop, float pitch, float pan, float gain) {
    const float asked = _effectsVolume * unit(gain);
    AudioCall call = describe("playEffect", file);
    call.pitch = pitch;
    call.gain = gain;
    call.loop = loop;
    call.device = asked * masterFactor();
    report(std::move(call));
    const std::string path = resolve(file);
    if (!_device) {
        _impl->checkReadable(path);
        return 0;
    }
    Mix_Chunk* chunk = _impl->effectChunk(path, pitch);
    if (!chunk) return 0;

    // Pick the channel first so the sound starts at its own volume rather than the last one's.
    const int channel = Mix_GroupAvailable(-1);
    if (channel < 0) return 0; // every channel busy: this sound is dropped
    _impl->channelVolume[static_cast<std::size_t>(channel)] = asked;
    Mix_Volume(channel, mixVolume(asked * masterFactor()));
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
