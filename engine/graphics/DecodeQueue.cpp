#include "engine/graphics/DecodeQueue.h"

#include <SDL_image.h>

#include <algorithm>

namespace cocos2d {

DecodeQueue::DecodeQueue(unsigned threads) : _threadCount(threads) {}

DecodeQueue::~DecodeQueue() {
    {
        std::lock_guard<std::mutex> lock(_mutex);
        _stopping = true;
    }
    _wake.notify_all();
    for (std::thread& t : _threads)
        t.join();
}

std::future<Picture> DecodeQueue::decode(const std::string& path, long pixels) {
    std::packaged_task<Picture()> job([path] { return Picture::decodeFile(path); });
    std::future<Picture> result = job.get_future();
    // The decoder's set-up (again after a shutdown) is not safe to race, so it happens here.
    IMG_Init(IMG_INIT_PNG | IMG_INIT_JPG);
    if (_threadCount == 0) {
        job();
        return result;
    }
    {
        std::lock_guard<std::mutex> lock(_mutex);
        if (_threads.empty()) {
            for (unsigned i = 0; i < _threadCount; ++i)
                _threads.emplace_back([this] { work(); });
        }
        _jobs.push_back({pixels, std::move(job)});
    }
    _wake.notify_one();
    return result;
}

void DecodeQueue::work() {
    while (true) {
        std::packaged_task<Picture()> job;
        {
            std::unique_lock<std::mutex> lock(_mutex);
            _wake.wait(lock, [this] { return _stopping || !_jobs.empty(); });
            if (_jobs.empty()) return;
            auto largest = std::max_element(_jobs.begin(), _jobs.end(),
                                            [](const Job& a, const Job& b) { return a.pixels < b.pixels; });
            job = std::move(largest->task);
            _jobs.erase(largest);
        }
        job();
    }
}

} // namespace cocos2d
