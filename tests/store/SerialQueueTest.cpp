#include "store/SerialQueue.h"

#include "StoreFakes.h"
#include "support/DropTicket.h"

#include <QThread>

#include <atomic>
#include <gtest/gtest.h>
#include <numeric>
#include <thread>
#include <vector>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;

TEST(SerialQueue, RunsJobsOneAtATimeInOrderOnItsOwnWorker) {
    SerialQueue queue(u"test"_s);
    std::vector<int> order; // touched only by the jobs: serial, so unguarded
    std::atomic<int> running = 0;
    std::atomic<bool> misplaced = false; // overlapping, on the caller's thread, or not current
    QThread* caller = QThread::currentThread();
    for (int i = 0; i < 200; ++i) {
        queue.async([&, i] {
            if (running.fetch_add(1) != 0 || QThread::currentThread() == caller ||
                !queue.isCurrent())
                misplaced = true;
            order.push_back(i);
            running.fetch_sub(1);
        });
    }
    queue.waitUntilIdle();
    std::vector<int> expected(200);
    std::iota(expected.begin(), expected.end(), 0);
    EXPECT_EQ(order, expected);
    EXPECT_FALSE(misplaced);
    EXPECT_FALSE(queue.isCurrent());
}

// Destruction lets the running job finish, drops the waiting ones, and refuses what the
// running job queues while the queue shuts down.
TEST(SerialQueue, DestructionFinishesTheRunningJobAndDropsTheRest) {
    testing::Gate gate;
    gate.close();
    testing::DropCounter counter;
    std::atomic<int> finished = 0, laterRan = 0;
    auto queue = std::make_unique<SerialQueue>(u"test"_s);
    const auto later = [&] {
        return [&laterRan, ticket = std::make_shared<testing::DropTicket>(counter)] {
            ticket->ran = true;
            ++laterRan;
        };
    };
    queue->async([&, raw = queue.get()] {
        gate.pass();
        ++finished;
        raw->async(later());
    });
    for (int i = 0; i < 10; ++i)
        queue->async(later());
    gate.waitForWaiter();
    std::thread destroyer([&] { queue.reset(); });
    counter.waitFor(10); // the destructor let the waiting jobs go while the first one is held
    gate.open();
    destroyer.join();
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(laterRan, 0);
    EXPECT_EQ(counter.dropped(), 11);
}

} // namespace
} // namespace kivaro
