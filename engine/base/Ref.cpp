#include "engine/base/Ref.h"

#include "engine/base/AutoreleasePool.h"

#include <cassert>

namespace cocos2d {

namespace {
std::size_t g_live = 0;
}

Ref::Ref() {
    ++g_live;
}

Ref::~Ref() {
    --g_live;
}

std::size_t Ref::liveCount() {
    return g_live;
}

void Ref::retain() {
    assert(_referenceCount > 0);
    ++_referenceCount;
}

void Ref::release() {
    assert(_referenceCount > 0);
    if (--_referenceCount == 0) delete this;
}

Ref* Ref::autorelease() {
    AutoreleasePool::getInstance()->addObject(this);
    return this;
}

} // namespace cocos2d
