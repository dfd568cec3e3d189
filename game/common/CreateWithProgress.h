#pragma once
#include <new>

// The create() of each scene and hub layer that starts from the progress handed over (coins,
// levels): made, initialised with it and handed to the autorelease pool, or nothing when its
// initWithProgress fails, as CREATE_FUNC does for init().
template <typename Made, typename... Progress> Made* createWithProgress(Progress... progress) {
    auto* made = new (std::nothrow) Made();
    if (made && made->initWithProgress(progress...)) {
        made->autorelease();
        return made;
    }
    delete made;
    return nullptr;
}
