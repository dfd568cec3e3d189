#include "engine/app/SoundSettings.h"

#include "engine/audio/SimpleAudioEngine.h"
#include "engine/base/PlayerTexts.h"
#include "engine/input/InputMap.h"
#include "engine/scene/Overlay.h"
#include "engine/store/UserDefault.h"

#include <algorithm>
#include <string>

namespace cocos2d {

namespace {

// A store edited by hand (or by an older copy) may hold anything: back onto the steps.
int onStep(int percent) {
    const int clamped = std::clamp(percent, 0, 100);
    return (clamped + SoundSettings::kStep / 2) / SoundSettings::kStep * SoundSettings::kStep;
}

void toAudio(int music, int effects, bool muted) {
    CocosDenshion::SimpleAudioEngine::getInstance()->setMasterVolume(
        static_cast<float>(music) / 100.0f, static_cast<float>(effects) / 100.0f, muted);
}

int saved(const char* key) {
    UserDefault* store = UserDefault::getInstance();
    return onStep(store->getIntegerForKey(key, store->getIntegerForKey(SoundSettings::kVolumeKey, 100)));
}

} // namespace

int SoundSettings::musicPercent() {
    return saved(kMusicKey);
}

int SoundSettings::effectsPercent() {
    return saved(kEffectsKey);
}

int SoundSettings::volumePercent() {
    return std::max(musicPercent(), effectsPercent());
}

bool SoundSettings::isMuted() {
    return UserDefault::getInstance()->getBoolForKey(kMutedKey, false);
}

void SoundSettings::install() {
    // The audio engine first: opening its device also lets a request to quit arrive as an
    // event rather than end the program while the store is open.
    CocosDenshion::SimpleAudioEngine::getInstance();
    toAudio(musicPercent(), effectsPercent(), isMuted());
    InputMap* map = InputMap::getInstance();
    map->setAction(InputMap::kMute, [] { toggleMute(); });
    map->setAction(InputMap::kVolumeDown, [] { volumeDown(); });
    map->setAction(InputMap::kVolumeUp, [] { volumeUp(); });
}

void SoundSettings::toggleMute() {
    change(musicPercent(), effectsPercent(), !isMuted());
}

void SoundSettings::volumeDown() {
    change(std::max(0, musicPercent() - kStep), std::max(0, effectsPercent() - kStep), false);
}

void SoundSettings::volumeUp() {
    change(std::min(100, musicPercent() + kStep), std::min(100, effectsPercent() + kStep), false);
}

void SoundSettings::setMusicPercent(int percent) {
    change(onStep(percent), effectsPercent(), false);
}

void SoundSettings::setEffectsPercent(int percent) {
    change(musicPercent(), onStep(percent), false);
}

void SoundSettings::change(int music, int effects, bool muted) {
    UserDefault* store = UserDefault::getInstance();
    store->setIntegerForKey(kMusicKey, music);
    store->setIntegerForKey(kEffectsKey, effects);
    store->setBoolForKey(kMutedKey, muted);
    toAudio(music, effects, muted);
    const PlayerTexts& texts = PlayerTexts::get();
    std::string note = texts.soundOff;
    if (!muted)
        note = music == effects || !texts.volumes ? texts.volume(std::max(music, effects))
                                                  : texts.volumes(music, effects);
    Overlay::getInstance()->show(kNote, note, Overlay::Place::TopRight, kNoteSeconds);
}

} // namespace cocos2d
