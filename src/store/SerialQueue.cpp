#include "store/SerialQueue.h"

namespace kivaro {

SerialQueue::SerialQueue(const QString& label) : label_(label), thread_([this] { run(); }) {}

SerialQueue::~SerialQueue() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        jobs_.clear();
    }
    wake_.notify_all();
    thread_.join();
}

void SerialQueue::async(std::function<void()> job) {
    {
        std::lock_guard lock(mutex_);
        if (stopping_)
            return;
        jobs_.push_back(std::move(job));
    }
    wake_.notify_one();
}

void SerialQueue::waitUntilIdle() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return (jobs_.empty() && !running_) || stopping_; });
}

bool SerialQueue::isCurrent() const {
    return std::this_thread::get_id() == thread_.get_id();
}

void SerialQueue::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return !jobs_.empty() || stopping_; });
        if (stopping_)
            break;
        std::function<void()> job = std::move(jobs_.front());
        jobs_.pop_front();
        running_ = true;
        lock.unlock();
        job();
        // The job's captures (browser copies, callbacks) go before the queue reports idle.
        job = nullptr;
        lock.lock();
        running_ = false;
        if (jobs_.empty())
            idle_.notify_all();
    }
    idle_.notify_all();
}

} // namespace kivaro
