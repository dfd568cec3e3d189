#include "engine/platform/StoreSync.h"

namespace cocos2d {
namespace StoreSync {

bool kept() {
    return true;
}

void committed() {}

bool failing() {
    return false;
}

} // namespace StoreSync
} // namespace cocos2d
