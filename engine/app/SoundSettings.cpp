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

void toAudio(int percent, bool muted) {
    CocosDenshion::SimpleAudioEngine::getInstance()->setMasterVolume(static_cast<float>(percent) / 100.0f,
                                                                     muted);
}

} // namespace

int SoundSettings::volumePercent() {
    return onStep(UserDefault::getInstance()->getIntegerForKey(kVolumeKey, 100));
}

bool SoundSettings::isMuted() {
    return UserDefault::getInstance()->getBoolForKey(kMutedKey, false);
}

void SoundSettings::install() {
    // The audio engine first: opening its device also lets a request to quit arrive as an
    // event rather than end the program while the store is open.
    CocosDenshion::SimpleAudioEngine::getInstance();
    toAudio(volumePercent(), isMuted());
    InputMap* map = InputMap::getInstance();
    map->setAction(InputMap::kMute, [] { toggleMute(); });
    map->setAction(InputMap::kVolumeDown, [] { volumeDown(); });
    map->setAction(InputMap::kVolumeUp, [] { volumeUp(); });
}

void SoundSettings::toggleMute() {
    change(volumePercent(), !isMuted());
}

void SoundSettings::volumeDown() {
    change(std::max(0, volumePercent() - kStep), false);
}

void SoundSettings::volumeUp() {
    change(std::min(100, volumePercent() + kStep), false);
}

void SoundSettings::change(int percent, bool muted) {
    UserDefault* store = UserDefault::getInstance();
    store->setIntegerForKey(kVolumeKey, percent);
    store->setBoolForKey(kMutedKey, muted);
    toAudio(percent, muted);
    const PlayerTexts& texts = PlayerTexts::get();
    const std::string note = muted ? texts.soundOff : texts.volume(percent);
    Overlay::getInstance()->show(kNote, note, Overlay::Place::TopRight, kNoteSeconds);
}

} // namespace cocos2d
