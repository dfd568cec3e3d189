#include "engine/base/AppIdentity.h"

#include <utility>

namespace cocos2d {

namespace {
// Until the game says otherwise, a neutral name keeps a bare engine's files out of anyone's way.
AppIdentity& current() {
    static AppIdentity identity{"game", "GAME"};
    return identity;
}
} // namespace

void AppIdentity::set(AppIdentity identity) {
    current() = std::move(identity);
}

const AppIdentity& AppIdentity::get() {
    return current();
}

std::string AppIdentity::environmentVariable(const std::string& suffix) {
    return current().environmentPrefix + "_" + suffix;
}

} // namespace cocos2d
