#pragma once

#include <condition_variable>
#include <mutex>

namespace kivaro::testing {

// Counts the jobs or callbacks let go of without being run; thread-safe.
class DropCounter {
public:
    void drop() {
        {
            std::lock_guard lock(mutex_);
            ++dropped_;
        }
        changed_.notify_all();
    }
    void waitFor(int count) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return dropped_ >= count; });
    }
    int dropped() {
        std::lock_guard lock(mutex_);
        return dropped_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int dropped_ = 0;
};

// Rides along in a job's captures (through a shared_ptr); counts the job dropped unless the
// job marked it run.
struct DropTicket {
    explicit DropTicket(DropCounter& counter) : counter(counter) {}
    DropTicket(const DropTicket&) = delete;
    DropTicket& operator=(const DropTicket&) = delete;
    ~DropTicket() {
        if (!ran)
            counter.drop();
    }
    DropCounter& counter;
    bool ran = false;
};

} // namespace kivaro::testing
