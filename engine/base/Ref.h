#pragma once
// Intrusive reference counting. An object starts with one reference owned by whoever
// created it; create() functions hand that reference to the autorelease pool, which
// drops it at the end of the frame unless someone retained the object meanwhile.
#include <cstddef>
#include <functional>

namespace cocos2d {

class Ref {
  public:
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    virtual ~Ref();

    void retain();
    void release();
    Ref* autorelease();
    unsigned int getReferenceCount() const { return _referenceCount; }

    // Objects alive right now, for leak checks and statistics.
    static std::size_t liveCount();

  protected:
    Ref();

  private:
    unsigned int _referenceCount = 1;
};

class Node;
class Touch;
class Event;
using SEL_SCHEDULE = void (Ref::*)(float);
using ccMenuCallback = std::function<void(Ref*)>;

} // namespace cocos2d

#define CC_SCHEDULE_SELECTOR(_SELECTOR) static_cast<cocos2d::SEL_SCHEDULE>(&_SELECTOR)
#define CC_CALLBACK_0(__selector__, __target__, ...) std::bind(&__selector__, __target__, ##__VA_ARGS__)
#define CC_CALLBACK_1(__selector__, __target__, ...)                                                         \
    std::bind(&__selector__, __target__, std::placeholders::_1, ##__VA_ARGS__)
#define CC_CALLBACK_2(__selector__, __target__, ...)                                                         \
    std::bind(&__selector__, __target__, std::placeholders::_1, std::placeholders::_2, ##__VA_ARGS__)

// The usual create(): allocate, init, autorelease; null when init fails.
#define CREATE_FUNC(__TYPE__)                                                                                \
    static __TYPE__* create() {                                                                              \
        __TYPE__* pRet = new (std::nothrow) __TYPE__();                                                      \
        if (pRet && pRet->init()) {                                                                          \
            pRet->autorelease();                                                                             \
            return pRet;                                                                                     \
        }                                                                                                    \
        delete pRet;                                                                                         \
        return nullptr;                                                                                      \
    }
