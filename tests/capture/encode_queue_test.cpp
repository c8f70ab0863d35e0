// The hand-over between renderer and encoder: order kept, the producer held back while the queue is
// full and released by the consumer, what is left taken after closing, and a failed consumer never
// leaving the producer waiting.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "capture/encode_queue.h"

namespace {

EncodeJob job(std::int64_t index)
{
    EncodeJob j;
    j.index = index;
    j.frame = FrameImage(2, 2, static_cast<std::uint32_t>(index));
    return j;
}

}  // namespace

TEST(EncodeQueue, KeepsOrderAndHoldsTheProducerWhileFull)
{
    EncodeQueue queue(2);
    ASSERT_TRUE(queue.push(job(0)));
    ASSERT_TRUE(queue.push(job(1)));
    std::atomic<bool> pushed{false};
    std::thread producer([&] {
        queue.push(job(2));
        pushed = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(pushed) << "a full queue took a third job";
    EXPECT_EQ(queue.size(), 2u);
    auto first = queue.pop();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->index, 0);
    producer.join();
    EXPECT_TRUE(pushed);
    queue.close();
    EXPECT_FALSE(queue.push(job(3))) << "a closed queue took a job";
    for (const std::int64_t expected : {1, 2}) {
        auto next = queue.pop();
        ASSERT_TRUE(next);
        EXPECT_EQ(next->index, expected);
        EXPECT_EQ(next->frame.at(1, 1), static_cast<std::uint32_t>(expected));
    }
    EXPECT_FALSE(queue.pop());
}

TEST(EncodeQueue, FailingReleasesAWaitingProducerAndDropsWhatIsQueued)
{
    EncodeQueue queue(1);
    ASSERT_TRUE(queue.push(job(0)));
    std::atomic<int> result{-1};
    std::thread producer([&] { result = queue.push(job(1)) ? 1 : 0; });
    queue.fail();
    producer.join();
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(queue.failed());
    EXPECT_FALSE(queue.pop());
    EXPECT_FALSE(queue.push(job(2)));
}

TEST(EncodeQueue, SparesComeBackWithTheirMemory)
{
    EncodeQueue queue(2);
    EXPECT_TRUE(queue.take_spare().frame.argb.empty());
    EncodeJob used = job(5);
    const std::uint32_t* memory = used.frame.argb.data();
    queue.give_spare(std::move(used));
    EncodeJob spare = queue.take_spare();
    EXPECT_EQ(spare.frame.argb.data(), memory);
    EXPECT_TRUE(queue.take_spare().frame.argb.empty());
}
