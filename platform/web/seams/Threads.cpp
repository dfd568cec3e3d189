#include "engine/platform/Threads.h"

namespace cocos2d {
namespace Threads {

bool available() {
    return false;
}

} // namespace Threads
} // namespace cocos2d
