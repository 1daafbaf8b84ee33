// One background thread that runs jobs one after another, in the order given.
//
// The GStreamer player hands it what must not hold up the window: taking down a
// pipeline whose threads are busy, measuring a file's length. The thread is
// started with the first job; the destructor runs whatever is still queued and
// waits for it. If the thread cannot be started, the jobs stay queued: the next
// post tries again, and the destructor runs them itself.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace vollo::gst {

class SerialWorker {
  public:
    using Job = std::function<void()>;
    // Starts a thread running the given function; throws std::system_error
    // when it cannot (as std::thread does).
    using ThreadStarter = std::function<std::thread(std::function<void()>)>;

    explicit SerialWorker(ThreadStarter start = nullptr);
    ~SerialWorker();
    SerialWorker(const SerialWorker&) = delete;
    SerialWorker& operator=(const SerialWorker&) = delete;

    void post(Job job);
    // True while the worker's thread runs.
    bool running() const;

  private:
    void run();

    ThreadStarter start_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Job> jobs_;
    bool closing_ = false;
    std::thread thread_;
};

}  // namespace vollo::gst
