// A look inside the audio engine for the tests, which declare it themselves: no header offers
// it to the game.
#include "engine/audio/SoundBank.h"
#include "engine/base/FileUtils.h"

namespace CocosDenshion::testing {

// The chunk playEffect would play for this file and pitch; null without a device.
const Mix_Chunk* effectChunkForPitch(const char* file, float pitch);

const Mix_Chunk* effectChunkForPitch(const char* file, float pitch) {
    SoundBank* bank = SoundBank::current();
    if (!bank || !file) return nullptr;
    return bank->effectChunk(cocos2d::FileUtils::getInstance()->fullPathForFilename(file), pitch);
}

} // namespace CocosDenshion::testing
