// The page's part is in platform/web/page/pre.js (Module.doviStore).
#include "engine/platform/StoreSync.h"

#include <emscripten.h>

namespace cocos2d {
namespace StoreSync {

// clang-format off
EM_JS(int, pageKeepsStore, (), { return Module.doviStore && Module.doviStore.kept ? 1 : 0; });
EM_JS(void, pageCopyStore, (), { if (Module.doviStore) Module.doviStore.copy(); });
EM_JS(int, pageStoreTrouble, (), { return Module.doviStore && Module.doviStore.trouble() ? 1 : 0; });
// clang-format on

bool kept() {
    return pageKeepsStore() != 0;
}

void committed() {
    pageCopyStore();
}

bool failing() {
    return pageStoreTrouble() != 0;
}

} // namespace StoreSync
} // namespace cocos2d
