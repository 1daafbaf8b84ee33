#include "platform/gst/serial_worker.h"

#include <system_error>
#include <utility>

namespace vollo::gst {

SerialWorker::SerialWorker(ThreadStarter start)
    : start_(std::move(start)) {
    if (!start_) {
        start_ = [](std::function<void()> body) { return std::thread(std::move(body)); };
    }
}

SerialWorker::~SerialWorker() {
    {
        std::lock_guard lock(mutex_);
        closing_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable()) {
        thread_.join();
    }
    // Left over when the thread never started.
    for (Job& job : jobs_) {
        job();
    }
}

void SerialWorker::post(Job job) {
    {
        std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(job));
    }
    if (!thread_.joinable()) {
        try {
            thread_ = start_([this] { run(); });
        } catch (const std::system_error&) {
            return;  // queued: tried again with the next job, run at the latest by the destructor
        }
    }
    wake_.notify_one();
}

bool SerialWorker::running() const {
    return thread_.joinable();
}

void SerialWorker::run() {
    std::unique_lock lock(mutex_);
    while (true) {
        wake_.wait(lock, [this] { return closing_ || !jobs_.empty(); });
        if (jobs_.empty()) {
            return;  // closing, and nothing left
        }
        Job job = std::move(jobs_.front());
        jobs_.pop_front();
        lock.unlock();
        job();
        lock.lock();
    }
}

}  // namespace vollo::gst
