#include "engine/base/AutoreleasePool.h"

#include "engine/base/Ref.h"

#include <algorithm>

namespace cocos2d {

AutoreleasePool* AutoreleasePool::getInstance() {
    static AutoreleasePool pool;
    return &pool;
}

void AutoreleasePool::addObject(Ref* object) {
    _objects.push_back(object);
}

void AutoreleasePool::clear() {
    // A destructor may autorelease more objects; drain until empty.
    while (!_objects.empty()) {
        std::vector<Ref*> batch;
        batch.swap(_objects);
        for (Ref* obj : batch)
            obj->release();
    }
}

bool AutoreleasePool::contains(const Ref* object) const {
    return std::find(_objects.begin(), _objects.end(), object) != _objects.end();
}

} // namespace cocos2d
