#pragma once

#include <QString>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace kivaro {

// One worker thread that runs jobs one at a time, in the order they were queued. The store
// sends every browser conversation through it, so a refresh, an action and a tab-tracking
// tick never overlap. Results go back to the main thread by posting, never by waiting.
class SerialQueue {
public:
    explicit SerialQueue(const QString& label);
    // Jobs not yet started are dropped; a job that is running is allowed to finish first, so
    // nothing it touches is destroyed under it.
    ~SerialQueue();

    SerialQueue(const SerialQueue&) = delete;
    SerialQueue& operator=(const SerialQueue&) = delete;

    void async(std::function<void()> job);

    // Blocks until every job queued before this call has run. For tests and shutdown only:
    // the main thread never waits on the queue otherwise.
    void waitUntilIdle();

    // Whether the calling thread is this queue's worker.
    bool isCurrent() const;
    const QString& label() const { return label_; }

private:
    void run();

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<std::function<void()>> jobs_;
    bool running_ = false;
    bool stopping_ = false;
    QString label_;
    // A plain thread, so that ThreadSanitizer sees every hand-over between it and its owner.
    std::thread thread_;
};

} // namespace kivaro
