#pragma once
// Picture files decoded on worker threads, so that a scene's pictures decode side by side while
// the main thread goes on (at start-up: while the renderer opens). Each request is answered
// through a future; the main thread waits only when it needs the pixels. The largest picture
// waiting goes first, so that a scene's pictures are all done the soonest.
#include "engine/graphics/Picture.h"

#include <condition_variable>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace cocos2d {

class DecodeQueue {
  public:
    // The threads start with the first request; with none, each request is decoded at once.
    explicit DecodeQueue(unsigned threads);
    // Finishes what was asked, then ends the threads.
    ~DecodeQueue();
    DecodeQueue(const DecodeQueue&) = delete;
    DecodeQueue& operator=(const DecodeQueue&) = delete;

    // A PNG file (the threads decode nothing else) of so many pixels.
    std::future<Picture> decode(const std::string& path, long pixels);

  private:
    void work();

    const unsigned _threadCount;
    std::mutex _mutex;
    std::condition_variable _wake;
    struct Job {
        long pixels;
        std::packaged_task<Picture()> task;
    };
    std::vector<Job> _jobs;
    std::vector<std::thread> _threads;
    bool _stopping = false;
};

} // namespace cocos2d
