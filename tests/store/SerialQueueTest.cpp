#include "store/SerialQueue.h"

#include "StoreFakes.h"
#include "support/DropTicket.h"

#include <QThread>

#include <atomic>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;

TEST(SerialQueue, RunsJobsOneAtATimeInOrderOnItsOwnWorker) {
    SerialQueue queue(u"test"_s);
    std::vector<int> order; // touched only by the jobs: serial, so unguarded
    std::atomic<int> running = 0;
    std::atomic<bool> overlapped = false;
    std::atomic<bool> onCaller = false;
    std::atomic<bool> notCurrent = false;
    QThread* caller = QThread::currentThread();
    for (int i = 0; i < 200; ++i) {
        queue.async([&, i] {
            if (running.fetch_add(1) != 0)
                overlapped = true;
            if (QThread::currentThread() == caller)
                onCaller = true;
            if (!queue.isCurrent())
                notCurrent = true;
            order.push_back(i);
            running.fetch_sub(1);
        });
    }
    queue.waitUntilIdle();
    ASSERT_EQ(order.size(), 200u);
    for (int i = 0; i < 200; ++i)
        EXPECT_EQ(order[i], i);
    EXPECT_FALSE(overlapped);
    EXPECT_FALSE(onCaller);
    EXPECT_FALSE(notCurrent);
    EXPECT_FALSE(queue.isCurrent());
}

TEST(SerialQueue, DestructionFinishesTheRunningJobAndDropsTheRest) {
    testing::Gate gate;
    gate.close();
    testing::DropCounter counter;
    std::atomic<int> finished = 0;
    std::atomic<int> laterRan = 0;
    auto queue = std::make_unique<SerialQueue>(u"test"_s);
    queue->async([&] {
        gate.pass();
        ++finished;
    });
    for (int i = 0; i < 10; ++i) {
        auto ticket = std::make_shared<testing::DropTicket>(counter);
        queue->async([&laterRan, ticket] {
            ticket->ran = true;
            ++laterRan;
        });
    }
    gate.waitForWaiter();
    std::thread destroyer([&] { queue.reset(); });
    counter.waitFor(10); // the destructor let the waiting jobs go while the first one is held
    gate.open();
    destroyer.join();
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(laterRan, 0);
}

TEST(SerialQueue, WorkQueuedDuringDestructionIsRefused) {
    testing::Gate gate;
    gate.close();
    testing::DropCounter counter;
    std::atomic<bool> lateRan = false;
    SerialQueue* raw = nullptr;
    auto queue = std::make_unique<SerialQueue>(u"test"_s);
    raw = queue.get();
    // The running job queues more work once the queue is shutting down.
    queue->async([&] {
        gate.pass();
        auto ticket = std::make_shared<testing::DropTicket>(counter);
        raw->async([&lateRan, ticket] {
            ticket->ran = true;
            lateRan = true;
        });
    });
    {
        auto ticket = std::make_shared<testing::DropTicket>(counter);
        queue->async([ticket] { ticket->ran = true; });
    }
    gate.waitForWaiter();
    std::thread destroyer([&] { queue.reset(); });
    counter.waitFor(1);
    gate.open();
    destroyer.join();
    EXPECT_EQ(counter.dropped(), 2);
    EXPECT_FALSE(lateRan);
}

} // namespace
} // namespace kivaro
