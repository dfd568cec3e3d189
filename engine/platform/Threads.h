#pragma once
// Whether the engine may start threads of its own. The browser build has none (a thread there
// would need shared memory the page is not given): work meant for a worker runs in place.
namespace cocos2d {
namespace Threads {

bool available();

} // namespace Threads
} // namespace cocos2d
