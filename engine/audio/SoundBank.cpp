#include "engine/audio/SoundBank.h"

#include "engine/audio/PitchResampler.h"
#include "engine/base/Log.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace CocosDenshion {

namespace {
// Beyond these a pitched copy is either useless or needlessly large.
constexpr float kMinPitch = 0.1f;
constexpr float kMaxPitch = 10.0f;

SoundBank* g_current = nullptr;
// Kept across devices, so each file is reported once per run.
std::unordered_set<std::string> g_reported;
} // namespace

SoundBank::SoundBank(Uint16 format, int channels) : _format(format), _channels(channels) {
    g_current = this;
}

SoundBank::~SoundBank() {
    for (auto& [key, entry] : _pitched)
        Mix_FreeChunk(entry.chunk);
    for (auto& [path, chunk] : _chunks)
        Mix_FreeChunk(chunk);
    for (auto& [path, track] : _music)
        Mix_FreeMusic(track);
    if (g_current == this) g_current = nullptr;
}

SoundBank* SoundBank::current() {
    return g_current;
}

void SoundBank::reportOnce(const std::string& path, const char* problem) {
    if (g_reported.insert(path).second) cocos2d::warn("audio: %s: %s", path.c_str(), problem);
}

Mix_Music* SoundBank::loadMusic(const std::string& path) {
    if (auto it = _music.find(path); it != _music.end()) return it->second;
    if (_failed.count(path)) return nullptr;
    Mix_Music* track = Mix_LoadMUS(path.c_str());
    if (!track) {
        _failed.insert(path);
        reportOnce(path, Mix_GetError());
        return nullptr;
    }
    _music.emplace(path, track);
    return track;
}

Mix_Chunk* SoundBank::loadChunk(const std::string& path) {
    if (auto it = _chunks.find(path); it != _chunks.end()) return it->second;
    if (_failed.count(path)) return nullptr;
    Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
    if (!chunk) {
        _failed.insert(path);
        reportOnce(path, Mix_GetError());
        return nullptr;
    }
    _chunks.emplace(path, chunk);
    return chunk;
}

void SoundBank::freeMusic(Mix_Music* track) {
    for (auto it = _music.begin(); it != _music.end(); ++it) {
        if (it->second == track) {
            Mix_FreeMusic(it->second);
            _music.erase(it);
            return;
        }
    }
}

Mix_Chunk* SoundBank::effectChunk(const std::string& path, float pitch) {
    Mix_Chunk* base = loadChunk(path);
    if (!base) return nullptr;
    if (!std::isfinite(pitch)) pitch = 1.0f;
    const int key = static_cast<int>(std::lround(std::clamp(pitch, kMinPitch, kMaxPitch) * 100.0f));
    if (key == 100) return base;
    if (auto it = _pitched.find({path, key}); it != _pitched.end()) return it->second.chunk;

    const PitchResampler resampler = PitchResampler::forFormat(_format);
    const std::size_t frameBytes = static_cast<std::size_t>(SDL_AUDIO_BITSIZE(_format) / 8 * _channels);
    const std::size_t inFrames = frameBytes ? base->alen / frameBytes : 0;
    if (!resampler || inFrames == 0) return base;
    const double step = key / 100.0;
    const std::size_t outFrames = PitchResampler::framesOut(inFrames, step);
    const std::size_t outBytes = outFrames * frameBytes;
    if (outBytes > UINT32_MAX) return base;

    PitchedChunk entry;
    entry.samples = std::make_unique<Uint8[]>(outBytes);
    resampler.run(base->abuf, inFrames, entry.samples.get(), outFrames, _channels, step);
    entry.chunk = Mix_QuickLoad_RAW(entry.samples.get(), static_cast<Uint32>(outBytes));
    if (!entry.chunk) return base;
    entry.chunk->volume = base->volume;
    Mix_Chunk* chunk = entry.chunk;
    _pitched.emplace(std::make_pair(path, key), std::move(entry));
    return chunk;
}

} // namespace CocosDenshion
