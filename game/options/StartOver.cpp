#include "game/options/StartOver.h"

#include "engine/app/cocos2d.h"
#include "game/common/SavedKeys.h"

USING_NS_CC;

void StartOver::erase() {
    UserDefault* store = UserDefault::getInstance();
    for (const char* key : keys::kProgressNumbers)
        store->setIntegerForKey(key, 0);
    for (const char* key : keys::kProgressFlags)
        store->setBoolForKey(key, false);
}
